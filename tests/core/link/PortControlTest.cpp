#include "core/link/PortControl.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/link/PortTestDoubles.hpp"

namespace krv::test {
namespace {

using ::testing::ElementsAre;

class PortControlTest : public ::testing::Test, protected ReceiveRig {
protected:
    // Leaves something in every part of the receive state that Init_Port resets.
    void receiveStateInBenutzung() {
        receive.ShowData(Bytes{'x', 'L', '1', 1, 2, 3, 4, 5});
        receive.dispatch().AnzeigeSchwelle = link::DispatchState::SchwelleAufholen;
        ASSERT_EQ(receive.receive().EmpfangsZustand, 1);
    }
    bool receiveStateLeer() const {
        const link::ReceiveState& s = receive.receive();
        return s.EmpfangsLaenge() == 0 && s.EmpfangsPos == 1 && s.DatenStart == 0 && s.DatenLaenge == 0 &&
               s.EmpfangsZustand == 0 && receive.dispatch().AnzeigeSchwelle == link::DispatchState::SchwelleNormal;
    }
    // The transfer runs on port nr, as after a successful start.
    void laeuftAuf(int nr) {
        port.nr = nr;
        port.offen = true;
        host.portOffen = true;
        host.comChecked.at(static_cast<std::size_t>(nr)) = true;
        log.clear();
    }

    ScriptedSerialPort port{log};
    FakeHost host{port, log};
    link::PortControl control{port, receive, host, dialogs, profile, settings};
};

const Log kInitPort{"port.setSettings 9600,N,8,1", "port.setInputLen 0", "port.clearInBuffer",
                    "host.cpuFehlerZuruecksetzen"};

Log operator+(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(PortControlTest, InitPortResetsLineAndReceiveStateButNotThePort) {
    port.nr = 3;
    port.offen = true;
    port.wartend = {1, 2, 3};
    receiveStateInBenutzung();

    control.Init_Port();

    EXPECT_EQ(log, kInitPort);
    EXPECT_TRUE(receiveStateLeer());
    EXPECT_TRUE(port.wartend.empty());
    EXPECT_EQ(port.nr, 3);
    EXPECT_TRUE(port.offen);
}

TEST_F(PortControlTest, StartupTakesThePortNumberFromTheSettingsAndLeavesThePortClosed) {
    settings.ComPortNr = 2;
    port.offen = true;
    control.Init_PortBeimStart();
    EXPECT_EQ(log, (Log{"port.setCommPort 2", "port.close"} + kInitPort));
    EXPECT_FALSE(port.offen);
}

// ---- Data transfer start and stop ----

TEST_F(PortControlTest, StartOpensSwitchesFromTheModelListAndDiscardsWhatArrivedMeanwhile) {
    host.hardwareAuswahlChecked = true;
    port.wartend = {9, 9, 9};
    receiveStateInBenutzung();

    control.mnuDatenuebertragungStart_Click();

    EXPECT_EQ(log, (kInitPort + Log{"port.open", "host.mnuStatusFenster", "host.AnzeigePortStatus",
                                   "port.clearInBuffer"}));
    EXPECT_TRUE(port.offen);
    EXPECT_TRUE(host.portOffen);
    EXPECT_TRUE(port.wartend.empty());
    EXPECT_TRUE(receiveStateLeer());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortControlTest, StartKeepsTheViewWhenTheModelListIsNotShown) {
    control.mnuDatenuebertragungStart_Click();
    EXPECT_THAT(log, ::testing::Not(::testing::Contains("host.mnuStatusFenster")));
    EXPECT_TRUE(host.portOffen);
}

TEST_F(PortControlTest, FailedStartShowsTheErrorAndGoesOnWithThePortClosed) {
    host.hardwareAuswahlChecked = true;
    port.openFehler = "Cannot open /dev/ttyUSB0: No such file or directory.";

    control.mnuDatenuebertragungStart_Click();

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, *port.openFehler);
    EXPECT_EQ(dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(dialogs.boxes[0].title, "");
    EXPECT_EQ(log, (kInitPort + Log{"port.open", "box " + *port.openFehler, "host.mnuStatusFenster",
                                   "host.AnzeigePortStatus", "port.clearInBuffer"}));
    EXPECT_FALSE(host.portOffen);
}

TEST_F(PortControlTest, StopClosesResetsAndTurnsThePanelRed) {
    laeuftAuf(1);
    receiveStateInBenutzung();

    control.mnuDatenuebertragungStop_Click();

    EXPECT_EQ(log, (Log{"port.close"} + kInitPort + Log{"host.AnzeigePortStatus"}));
    EXPECT_FALSE(host.portOffen);
    EXPECT_TRUE(receiveStateLeer());
}

TEST_F(PortControlTest, FailedStopShowsTheErrorAndStillResets) {
    laeuftAuf(1);
    port.closeFehler = "Cannot close /dev/ttyUSB0: Input/output error.";
    control.mnuDatenuebertragungStop_Click();
    EXPECT_EQ(log, (Log{"port.close", "box " + *port.closeFehler} + kInitPort + Log{"host.AnzeigePortStatus"}));
}

// ---- Port selection ----

TEST_F(PortControlTest, ChoosingTheCheckedPortDoesNothing) {
    laeuftAuf(2);
    control.mnuCom_Click(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "ComPort", "none"), "none");  // no file write
    EXPECT_TRUE(port.offen);
}

TEST_F(PortControlTest, ChoosingAnotherPortWhileStoppedOnlyChangesTheNumber) {
    port.nr = 1;
    host.comChecked[1] = true;

    control.mnuCom_Click(3);

    EXPECT_EQ(log, (Log{"host.mnuCom 1 unchecked", "port.setCommPort 3", "host.AnzeigePortStatus",
                        "host.mnuCom 3 checked"}));
    EXPECT_FALSE(port.offen);
    EXPECT_EQ(settings.ComPortNr, 3);
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "ComPort", ""), "3");
    EXPECT_FALSE(host.comChecked[1]);
    EXPECT_TRUE(host.comChecked[3]);
}

TEST_F(PortControlTest, ChoosingAnotherPortWhileRunningReopensOnTheNewPort) {
    laeuftAuf(1);
    receiveStateInBenutzung();
    log.clear();

    control.mnuCom_Click(4);

    EXPECT_EQ(log, (Log{"host.mnuCom 1 unchecked", "port.close", "port.setCommPort 4"} + kInitPort +
                       Log{"port.open", "host.AnzeigePortStatus", "host.mnuCom 4 checked"}));
    EXPECT_TRUE(port.offen);
    EXPECT_EQ(port.nr, 4);
    EXPECT_TRUE(receiveStateLeer());
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "ComPort", ""), "4");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortControlTest, APortThatCannotBeOpenedRestoresTheOldNumberAndStillWritesComPort) {
    laeuftAuf(1);
    port.openFehler = "Cannot open /dev/ttyUSB1: No such file or directory.";

    control.mnuCom_Click(2);

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, *port.openFehler);
    EXPECT_EQ(dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(port.nr, 1);
    EXPECT_FALSE(port.offen);
    EXPECT_FALSE(host.portOffen);
    EXPECT_EQ(settings.ComPortNr, 1);
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "ComPort", ""), "1");
    EXPECT_TRUE(host.comChecked[1]);
    EXPECT_FALSE(host.comChecked[2]);
    EXPECT_EQ(log, (Log{"host.mnuCom 1 unchecked", "port.close", "port.setCommPort 2"} + kInitPort +
                       Log{"port.open", "box " + *port.openFehler, "port.setCommPort 1", "host.AnzeigePortStatus",
                           "host.mnuCom 1 checked"}));
}

TEST_F(PortControlTest, AFailedCloseWhenSwitchingDoesNotOpenTheNewPort) {
    laeuftAuf(1);
    port.closeFehler = "Cannot close /dev/ttyUSB0: Input/output error.";

    control.mnuCom_Click(2);

    EXPECT_THAT(log, ::testing::Not(::testing::Contains("port.open")));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(port.nr, 1);
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "ComPort", ""), "1");
}

}  // namespace
}  // namespace krv::test
