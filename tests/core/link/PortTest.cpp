// The port's event handler, the data transfer and port menu commands, and the port menu's hints.
#include <gtest/gtest.h>

#include <map>

#include "core/link/PortControl.hpp"
#include "core/link/PortHinweise.hpp"
#include "support/LinkRig.hpp"

namespace krv::linktest {
namespace {

namespace ev = ports::CommEvent;
using ports::MsgResult;

std::string zeilen(const test::Log& log) {
    std::string s;
    for (const std::string& z : log) s += (s.empty() ? "" : " / ") + z;
    return s;
}

struct PortRig : test::ReceiveRig {
    test::ScriptedSerialPort port{log};
    test::FakeHost host{port, log};
};

constexpr int kTimer2 = -2;  // not an event: the status line timer ticks
const std::string kEin = "host.Timer1 off / ";
const std::string kAus = " / host.Timer1 on";  // not after the port was closed
std::string ok(const std::string& t) {
    return kEin + "box " + t + " / port.clearInBuffer / host.Timer2 on" + kAus;
}
std::string zeile(const std::string& t) {
    return kEin + "host.Statuszeile  " + t + " / host.Timer2 on" + kAus;
}

struct Ereignis {
    int code;
    std::string log;
    int sprache = 0;
    MsgResult antwort = MsgResult::Ok;
    int zustand = 2;  // 2: open and shown open, 1: open but not yet shown, 0: closed
    std::size_t kommtNach = 0;  // bytes that arrive while the handler reads
};

TEST(PortHandler, EventsReadShowOrAskAsTheLineErrorTableSays) {
    const std::string lesen = kEin + "port.input" + kAus;
    const std::string nichts = kEin + "host.Timer1 on";
    const std::string unbekannt = ok("Unbekannter Fehler oder unbekanntes Ereignis.");
    // The panel turns red before the box, so events while the box is open see the closed port.
    const std::string weg = kEin + "port.close / host.portVerloren / host.AnzeigePortStatus / box ";
    const Ereignis faelle[] = {
        {ev::Empfang, lesen},
        {ev::Empfang, kEin + "port.input / port.clearInBuffer" + kAus, 0, MsgResult::Ok, 2, 512},
        {ev::Empfang, lesen, 0, MsgResult::Ok, 2, 511},
        {ev::Empfang, nichts, 0, MsgResult::Ok, 1},
        {ev::Cts, nichts}, {ev::Dsr, nichts}, {ev::Cd, nichts}, {ev::Ring, nichts}, {ev::Dateiende, nichts},
        {ev::Break, zeile("Anhaltesignal (Break-Signal) empfangen.")},
        {ev::Rahmenfehler, zeile("Fehler im Übertragungsraster.")},
        {ev::Paritaetsfehler, zeile("Parity Error"), 10000},
        {kTimer2, "host.Statuszeile  Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, "
                  "gelb=hochohmig / host.Timer2 off"},
        {ev::CtsTimeout, ok("Clear-To-Send-Zeitüberschreitung.")},
        {ev::DsrTimeout, ok("Data Set Ready-Zeitüberschreitung.")},
        {ev::Ueberlauf, ok("Anschlußüberlauf.")},
        {ev::CdTimeout, ok("Trägersignal-Zeitüberschreitung.")},
        {ev::PufferUeberlauf, ok("Überlauf des Empfangspuffers.")},
        {ev::SendepufferVoll, ok("Sendepuffer voll.")},
        {0, unbekannt}, {8, unbekannt}, {1005, unbekannt}, {1011, unbekannt}, {1013, unbekannt},
        {ev::Ueberlauf, kEin + "box Overrun Error / port.close / host.AnzeigePortStatus / port.clearInBuffer"
                               " / host.Timer2 on", 10000, MsgResult::Cancel},
        {ev::VerbindungVerloren, weg + "Die Verbindung zum Gerät über /dev/ttyUSB0 wurde unterbrochen."},
        {ev::VerbindungVerloren, weg + "The connection to the device on /dev/ttyUSB0 was lost.", 10000},
        {ev::VerbindungVerloren, "host.Timer1 off", 0, MsgResult::Ok, 0},  // a second notice
    };
    for (const Ereignis& f : faelle) {
        SCOPED_TRACE(f.code);
        PortRig rig;
        link::PortHandler handler{rig.port, rig.receive, rig.host, rig.dialogs, rig.settings};
        rig.settings.SprachOffset = f.sprache;
        rig.port.geraet = "/dev/ttyUSB0";
        rig.port.offen = f.zustand > 0;
        rig.host.portOffen = f.zustand > 1;
        rig.port.wartend = kurz(13);
        rig.port.kommtWaehrendLesen = Bytes(f.kommtNach, 'x');
        rig.dialogs.answers = {f.antwort};
        f.code == kTimer2 ? handler.Timer2_Timer() : rig.port.raise(f.code);

        EXPECT_EQ(zeilen(rig.log), f.log);
        EXPECT_EQ(rig.hooks.events, f.log == lesen || f.kommtNach ? "blink show1:13 |19" : "");
        EXPECT_EQ(rig.host.portOffen, rig.port.offen && f.zustand > 1);
        const bool verloren = f.code == ev::VerbindungVerloren;
        EXPECT_EQ(rig.host.portVerlorenAufrufe, verloren && !rig.dialogs.boxes.empty());
        for (const ports::MessageBoxRequest& box : rig.dialogs.boxes) {
            EXPECT_EQ(box.title, verloren ? "" : f.sprache ? "Cancel = Exit  and  OK = ignore"
                                 : "Klicken Sie auf 'Abbrechen' zum Beenden oder 'OK' zum Ignorieren.");
            EXPECT_EQ(box.buttons, verloren ? ports::MsgButtons::Ok : ports::MsgButtons::OkCancel);
            EXPECT_EQ(box.icon, verloren ? ports::MsgIcon::Exclamation : ports::MsgIcon::None);
            EXPECT_EQ(box.beep, !verloren);
            if (!verloren) { EXPECT_EQ(handler.Antwort(), f.antwort); }
        }
    }
}

TEST(PortHandler, LeavesThePortWhenItGoes) {
    PortRig rig;
    {
        link::PortHandler handler{rig.port, rig.receive, rig.host, rig.dialogs, rig.settings};
        EXPECT_TRUE(rig.port.hatHandler());
    }
    EXPECT_FALSE(rig.port.hatHandler());
}

const std::string kInit =
    "port.setSettings 9600,N,8,1 / port.setInputLen 0 / port.clearInBuffer / host.cpuFehlerZuruecksetzen";

struct Bedienung {
    const char* name;
    int aktion;  // 0 Init_Port, -1 at start-up, 1 start, 2 stop, 10 + n port n chosen
    std::string log;
    int nr;      // port number afterwards
    bool offen;
    bool leer;   // receive state reset
    const char* ini = "";  // ComPort written
    int von = 1;           // port number before
    bool laeuft = false;   // transfer running before
    const char* openFehler = nullptr;
    const char* closeFehler = nullptr;
    bool modellListe = false;
};

TEST(PortControl, MenuCommandsOpenCloseAndSwitchThePort) {
    const char* kannNicht = "Cannot open /dev/ttyUSB1: No such file or directory.";
    const char* io = "Cannot close /dev/ttyUSB0: Input/output error.";
    const std::string start = kInit + " / port.open / ";
    const Bedienung faelle[] = {
        {"Init_Port keeps port and state", 0, kInit, 3, true, true, "", 3, true},
        {"start-up: port from the settings, closed", -1, "port.setCommPort 2 / port.close / " + kInit, 2,
         false, true, "", 1, true},
        {"start leaves the model list", 1,
         start + "host.mnuStatusFenster / host.AnzeigePortStatus / port.clearInBuffer", 1, true, true, "", 1,
         false, nullptr, nullptr, true},
        {"start keeps the view", 1, start + "host.AnzeigePortStatus / port.clearInBuffer", 1, true, true},
        {"failed start", 1, start + "box " + kannNicht + " / host.AnzeigePortStatus / port.clearInBuffer", 1,
         false, true, "", 1, false, kannNicht},
        {"stop", 2, "port.close / " + kInit + " / host.AnzeigePortStatus", 1, false, true, "", 1, true},
        {"failed stop still resets", 2, "port.close / box " + std::string(io) + " / " + kInit +
         " / host.AnzeigePortStatus", 1, false, true, "", 1, true, nullptr, io},
        {"the checked port again", 12, "", 2, true, false, "", 2, true},
        {"another port while stopped", 13,
         "host.mnuCom 1 unchecked / port.setCommPort 3 / host.AnzeigePortStatus / host.mnuCom 3 checked", 3,
         false, false, "3"},
        {"another port while running", 14,
         "host.mnuCom 1 unchecked / port.close / port.setCommPort 4 / " + kInit +
             " / port.open / host.AnzeigePortStatus / host.mnuCom 4 checked", 4, true, true, "4", 1, true},
        {"a port that cannot be opened", 12,
         "host.mnuCom 1 unchecked / port.close / port.setCommPort 2 / " + kInit + " / port.open / box " +
             kannNicht + " / port.setCommPort 1 / host.AnzeigePortStatus / host.mnuCom 1 checked",
         1, false, true, "1", 1, true, kannNicht},
        {"a failed close when switching", 12,
         "host.mnuCom 1 unchecked / port.close / port.setCommPort 2 / box " + std::string(io) +
             " / port.setCommPort 1 / host.AnzeigePortStatus / host.mnuCom 1 checked",
         1, false, false, "1", 1, true, nullptr, io},
    };
    for (const Bedienung& f : faelle) {
        SCOPED_TRACE(f.name);
        PortRig rig;
        link::PortControl control{rig.port, rig.receive, rig.host, rig.dialogs, rig.profile, rig.settings};
        rig.settings.ComPortNr = 2;
        rig.port.nr = f.von;
        rig.port.offen = rig.host.portOffen = f.laeuft;
        rig.host.comChecked.at(static_cast<std::size_t>(f.von)) = true;
        rig.host.hardwareAuswahlChecked = f.modellListe;
        if (f.openFehler) rig.port.openFehler = f.openFehler;
        if (f.closeFehler) rig.port.closeFehler = f.closeFehler;
        // Something in every part of the receive state that Init_Port resets.
        rig.receive.ShowData(Bytes{'x', 'L', '1', 1, 2, 3, 4, 5});
        rig.receive.dispatch().AnzeigeSchwelle = link::DispatchState::SchwelleAufholen;
        rig.log.clear();

        if (f.aktion == 0) control.Init_Port();
        if (f.aktion == -1) control.Init_PortBeimStart();
        if (f.aktion == 1) control.mnuDatenuebertragungStart_Click();
        if (f.aktion == 2) control.mnuDatenuebertragungStop_Click();
        if (f.aktion > 10) control.mnuCom_Click(f.aktion - 10);

        EXPECT_EQ(zeilen(rig.log), f.log);
        EXPECT_EQ(rig.port.nr, f.nr);
        EXPECT_EQ(rig.port.offen, f.offen);
        const link::ReceiveState& r = rig.receive.receive();
        const bool leer = r.EmpfangsLaenge() == 0 && r.EmpfangsPos == 1 && r.DatenStart == 0 &&
                          r.DatenLaenge == 0 && r.EmpfangsZustand == 0 &&
                          rig.receive.dispatch().AnzeigeSchwelle == 4096;
        EXPECT_EQ(leer, f.leer);
        EXPECT_EQ(rig.profile.GetPrivateProfileString("Einstellungen", "ComPort", ""), f.ini);
        EXPECT_EQ(rig.settings.ComPortNr, *f.ini ? f.nr : 2);
        for (int n = 1; n <= 4 && f.aktion > 10; ++n) {
            EXPECT_EQ(rig.host.comChecked[static_cast<std::size_t>(n)], n == f.nr);
        }
        for (const auto& box : rig.dialogs.boxes) {
            EXPECT_EQ(box.icon, ports::MsgIcon::Exclamation);
            EXPECT_EQ(box.buttons, ports::MsgButtons::Ok);
        }
    }
}

// A device server's address is always named.
TEST(PortHinweise, EveryPortNamesItsDeviceWhileTheChosenOneIsMissing) {
    const std::map<int, link::PortGeraet> geraete{{1, {"/dev/usb0", true}},
                                                  {2, {"/dev/usb1", false}},
                                                  {3, {"", false}},
                                                  {4, {"rfc2217://[::1]:7", true, true}}};
    const std::string fern = "|||COM4: rfc2217://[::1]:7";
    const std::string fehlt = "COM1: /dev/usb0|COM2: /dev/usb1 (nicht vorhanden)|COM3: -" + fern.substr(2);
    const struct {
        int gewaehlt;
        int sprache;
        std::string tips;
    } faelle[] = {{1, 0, fern}, {4, 0, fern}, {2, 0, fehlt}, {3, 0, fehlt}, {0, 0, fehlt}, {5, 0, fehlt},
                  {2, 10000, "COM1: /dev/usb0|COM2: /dev/usb1 (not present)|COM3: -" + fern.substr(2)}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.gewaehlt);
        std::array<app::Control, 5> mnuCom;
        link::setzePortHinweise(mnuCom, f.gewaehlt, f.sprache, [&](int nr) { return geraete.at(nr); });
        std::string tips;
        for (std::size_t nr = 1; nr <= 4; ++nr) tips += (nr > 1 ? "|" : "") + mnuCom[nr].statusTip();
        EXPECT_EQ(tips, f.tips);
        EXPECT_EQ(mnuCom[0].statusTip(), "");
    }
}

}  // namespace
}  // namespace krv::linktest
