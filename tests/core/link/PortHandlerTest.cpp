#include "core/link/PortHandler.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/link/PortTestDoubles.hpp"
#include "core/link/TelegramBuilder.hpp"

namespace krv::test {
namespace {

using ::testing::ElementsAre;
namespace ev = ports::CommEvent;

constexpr int kDeutsch = 0;
constexpr int kEnglisch = 10000;

class PortHandlerTest : public ::testing::Test, protected ReceiveRig {
protected:
    PortHandlerTest() {
        port.offen = true;
        host.portOffen = true;
    }

    // Fires one event and returns what it logged.
    Log fire(int code) {
        log.clear();
        port.raise(code);
        return log;
    }

    ScriptedSerialPort port{log};
    FakeHost host{port, log};
    link::PortHandler handler{port, receive, host, dialogs, settings};
};

// ---- Received data ----

TEST_F(PortHandlerTest, DataEventPassesTheWaitingBytesToShowDataInOneCall) {
    link::StatusBlock status{};
    status[0] = 13;
    const Bytes t = link::kurzTelegramm(status);
    port.wartend = t;

    fire(ev::Empfang);

    ASSERT_EQ(hooks.chunks.size(), 1u);
    EXPECT_EQ(hooks.chunks[0], t);
    ASSERT_EQ(hooks.telegrams.size(), 1u);
    EXPECT_EQ(hooks.telegrams[0][0], 13);
    EXPECT_TRUE(port.wartend.empty());
}

TEST_F(PortHandlerTest, DataEventWhilePortOffenIsFalseReadsNothing) {
    host.portOffen = false;  // opened, but not yet mirrored
    port.wartend = {'L', '1', 0, 0};

    fire(ev::Empfang);

    EXPECT_EQ(port.inputAufrufe, 0);
    EXPECT_TRUE(hooks.chunks.empty());
    EXPECT_EQ(port.wartend.size(), 4u);  // left for the start sequence to discard
}

TEST_F(PortHandlerTest, MoreThan511BytesArrivingDuringTheReadAreDiscarded) {
    port.wartend = {1, 2, 3};
    port.kommtWaehrendLesen = Bytes(512, 'x');
    fire(ev::Empfang);
    EXPECT_TRUE(port.wartend.empty());
    EXPECT_TRUE(dialogs.boxes.empty());  // without a message

    port.wartend = {1, 2, 3};
    port.kommtWaehrendLesen = Bytes(511, 'x');
    fire(ev::Empfang);
    EXPECT_EQ(port.wartend.size(), 511u);
}

TEST_F(PortHandlerTest, Timer1IsOffWhileAnEventIsHandledAndOnAgainAfterwards) {
    port.wartend = {1};
    const Log l = fire(ev::Empfang);
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l.front(), "host.Timer1 off");
    EXPECT_EQ(l.back(), "host.Timer1 on");
}

TEST_F(PortHandlerTest, ModemEventsAreIgnored) {
    for (int code : {ev::Cts, ev::Dsr, ev::Cd, ev::Ring, ev::Dateiende}) {
        port.wartend = {1, 2};
        EXPECT_THAT(fire(code), ElementsAre("host.Timer1 off", "host.Timer1 on")) << code;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(port.wartend.size(), 2u);
}

// ---- Line errors shown in the status line ----

struct StatuszeilenFall {
    int code;
    int sprachOffset;
    const char* text;
};

// Readable test names: the event code and the language.
void PrintTo(const StatuszeilenFall& fall, std::ostream* os) { *os << fall.code << (fall.sprachOffset ? "en" : "de"); }

class StatuszeilenFehler : public PortHandlerTest, public ::testing::WithParamInterface<StatuszeilenFall> {};

TEST_P(StatuszeilenFehler, ShowOneBlankAndTheTextAndArmTimer2) {
    const StatuszeilenFall& fall = GetParam();
    settings.SprachOffset = fall.sprachOffset;
    port.wartend = {1, 2, 3};

    const Log l = fire(fall.code);

    EXPECT_EQ(host.statuszeile, std::string(" ") + fall.text);
    EXPECT_TRUE(host.timer2);
    EXPECT_TRUE(dialogs.boxes.empty());
    // Receiving simply goes on.
    EXPECT_TRUE(port.offen);
    EXPECT_EQ(port.wartend.size(), 3u);
    EXPECT_THAT(l, ElementsAre("host.Timer1 off", std::string("host.Statuszeile  ") + fall.text, "host.Timer2 on",
                               "host.Timer1 on"));
}

INSTANTIATE_TEST_SUITE_P(
    BreakFramingParity, StatuszeilenFehler,
    ::testing::Values(StatuszeilenFall{ev::Break, kDeutsch, "Anhaltesignal (Break-Signal) empfangen."},
                      StatuszeilenFall{ev::Rahmenfehler, kDeutsch, "Fehler im Übertragungsraster."},
                      StatuszeilenFall{ev::Paritaetsfehler, kDeutsch, "Paritätsfehler."},
                      StatuszeilenFall{ev::Break, kEnglisch, "Break Received"},
                      StatuszeilenFall{ev::Rahmenfehler, kEnglisch, "Framing Error"},
                      StatuszeilenFall{ev::Paritaetsfehler, kEnglisch, "Parity Error"}));

TEST_F(PortHandlerTest, Timer2TickRestoresTheColourLegendAndStops) {
    fire(ev::Rahmenfehler);
    ASSERT_TRUE(host.timer2);

    handler.Timer2_Timer();
    EXPECT_EQ(host.statuszeile, " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig");
    EXPECT_FALSE(host.timer2);

    settings.SprachOffset = kEnglisch;
    handler.Timer2_Timer();
    EXPECT_EQ(host.statuszeile, " Connector and LED-colors: red=0V/open, green=24V/closed, yellow=high impedance");
}

// ---- Line errors that ask the user ----

struct MeldungsFall {
    int code;
    const char* deutsch;
    const char* englisch;
};

void PrintTo(const MeldungsFall& fall, std::ostream* os) { *os << fall.code; }

class MeldungsFehler : public PortHandlerTest, public ::testing::WithParamInterface<MeldungsFall> {};

TEST_P(MeldungsFehler, OkIgnoresTheErrorDiscardsTheQueueAndArmsTimer2) {
    const MeldungsFall& fall = GetParam();
    port.wartend = {1, 2, 3};
    dialogs.answers = {ports::MsgResult::Ok};

    fire(fall.code);

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const ports::MessageBoxRequest& box = dialogs.boxes[0];
    EXPECT_EQ(box.text, fall.deutsch);
    EXPECT_EQ(box.title, "Klicken Sie auf 'Abbrechen' zum Beenden oder 'OK' zum Ignorieren.");
    EXPECT_EQ(box.buttons, ports::MsgButtons::OkCancel);
    EXPECT_EQ(box.icon, ports::MsgIcon::None);
    EXPECT_TRUE(box.beep);
    EXPECT_EQ(handler.Antwort(), ports::MsgResult::Ok);

    EXPECT_TRUE(port.offen);
    EXPECT_EQ(host.anzeigePortStatusAufrufe, 0);
    EXPECT_TRUE(port.wartend.empty());
    EXPECT_TRUE(host.timer2);
    EXPECT_TRUE(host.timer1);
}

TEST_P(MeldungsFehler, CancelClosesThePortAndTurnsThePanelRed) {
    const MeldungsFall& fall = GetParam();
    settings.SprachOffset = kEnglisch;
    port.wartend = {1, 2, 3};
    dialogs.answers = {ports::MsgResult::Cancel};

    const Log l = fire(fall.code);

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, fall.englisch);
    EXPECT_EQ(dialogs.boxes[0].title, "Cancel = Exit  and  OK = ignore");
    EXPECT_EQ(handler.Antwort(), ports::MsgResult::Cancel);
    EXPECT_FALSE(port.offen);
    EXPECT_FALSE(host.portOffen);
    EXPECT_TRUE(port.wartend.empty());
    EXPECT_TRUE(host.timer2);
    EXPECT_FALSE(host.timer1);  // the poll timer does not run for a closed port
    EXPECT_THAT(l, ElementsAre("host.Timer1 off", std::string("box ") + fall.englisch, "port.close",
                               "host.AnzeigePortStatus", "port.clearInBuffer", "host.Timer2 on"));
}

INSTANTIATE_TEST_SUITE_P(
    TableAndUnrecognisedCodes, MeldungsFehler,
    ::testing::Values(MeldungsFall{ev::CtsTimeout, "Clear-To-Send-Zeitüberschreitung.", "CTS Timeout"},
                      MeldungsFall{ev::DsrTimeout, "Data Set Ready-Zeitüberschreitung.", "DSR Timeout"},
                      MeldungsFall{ev::Ueberlauf, "Anschlußüberlauf.", "Overrun Error"},
                      MeldungsFall{ev::CdTimeout, "Trägersignal-Zeitüberschreitung.", "Carrier Detect Timeout"},
                      MeldungsFall{ev::PufferUeberlauf, "Überlauf des Empfangspuffers.", "Receive Buffer Overflow"},
                      MeldungsFall{ev::SendepufferVoll, "Sendepuffer voll.", "Transmit Buffer Full"},
                      // Everything else is an unrecognised event.
                      MeldungsFall{0, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{1, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{8, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{1000, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{1005, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{1011, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
                      MeldungsFall{1013, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"}));

// ---- Lost connection ----

TEST_F(PortHandlerTest, LostConnectionClosesThePortAndShowsOneMessageNamingTheDevice) {
    port.geraet = "/dev/ttyUSB0";
    // Half a telegram is in the receive buffer: it stays, nothing received is thrown away.
    receive.ShowData(Bytes{'L', '1', 5, 6, 7, 8});

    const Log l = fire(ev::VerbindungVerloren);

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const ports::MessageBoxRequest& box = dialogs.boxes[0];
    EXPECT_EQ(box.text, "Die Verbindung zum Gerät über /dev/ttyUSB0 wurde unterbrochen.");
    EXPECT_EQ(box.icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(box.title, "");
    EXPECT_FALSE(port.offen);
    EXPECT_FALSE(host.portOffen);
    EXPECT_FALSE(host.timer1);
    EXPECT_EQ(host.portVerlorenAufrufe, 1);
    EXPECT_EQ(receive.receive().EmpfangsLaenge(), 6u);
    // The panel is red before the box appears.
    EXPECT_THAT(l, ElementsAre("host.Timer1 off", "port.close", "host.portVerloren", "host.AnzeigePortStatus",
                               "box Die Verbindung zum Gerät über /dev/ttyUSB0 wurde unterbrochen."));

    // A repeated notice adds nothing.
    fire(ev::VerbindungVerloren);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(host.anzeigePortStatusAufrufe, 1);
}

TEST_F(PortHandlerTest, LostConnectionMessageInEnglish) {
    settings.SprachOffset = kEnglisch;
    port.geraet = "/dev/serial/by-id/usb-adapter";
    fire(ev::VerbindungVerloren);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The connection to the device on /dev/serial/by-id/usb-adapter was lost.");
}

TEST(PortHandlerLifetime, TheHandlerLeavesThePortWhenItGoes) {
    ReceiveRig rig;
    ScriptedSerialPort port{rig.log};
    FakeHost host{port, rig.log};
    {
        link::PortHandler handler{port, rig.receive, host, rig.dialogs, rig.settings};
        EXPECT_TRUE(port.hatHandler());
    }
    EXPECT_FALSE(port.hatHandler());
}

}  // namespace
}  // namespace krv::test
