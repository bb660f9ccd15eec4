#include "core/app/MainForm.hpp"

#include <gtest/gtest.h>

#include "../link/PortTestDoubles.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"

namespace krv::app {
namespace {

using test::Log;

const char* const kLegende = " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig";

class AlwaysFreeLock : public ports::InstanceLock {
public:
    bool frei = true;
    bool acquire() override { return frei; }
};

// The main window's core with scripted ports, started as the program starts it.
struct MainFormRig {
    explicit MainFormRig(const std::string& ini = "") : profile(ini) {}

    Log log;
    MemoryProfile profile;
    ports::ManualClock clock;
    test::LoggingDialogs dialogs{log};
    test::ScriptedSerialPort port{log};
    AlwaysFreeLock lock;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink datei;
    ports::MemoryFileSink cpuDatei;
    ports::MemoryFileSource quelle;
    ProgramState state;
    MainFormState controls;
    MainForm form{state, controls, Ports{profile, clock, dialogs, port, pictures, printer, datei, cpuDatei, quelle}};
    std::vector<Bytes> angezeigt;  // status blocks that reached the display

    bool start() {
        form.onAnzeige = [this](const link::ReceiveState& s) {
            angezeigt.emplace_back(s.payload().begin(), s.payload().end());
        };
        if (!ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, "/data/", {})) return false;
        form.Form_Load();
        ProgrammStartNachDemLaden(state, form);
        return true;
    }

    void sende(const Bytes& bytes) {
        port.wartend.insert(port.wartend.end(), bytes.begin(), bytes.end());
        port.raise(ports::CommEvent::Empfang);
    }
};

Bytes kurzTelegramm(std::uint8_t byte0, std::uint8_t byte2 = 0) {
    link::StatusBlock block{};
    block[0] = byte0;
    block[2] = byte2;
    return link::kurzTelegramm(block);
}

TEST(MainFormStart, FreshSystemStartsGermanOnCom1WithTheModelList) {
    MainFormRig rig;
    ASSERT_TRUE(rig.start());
    const MainFormState& c = rig.controls;

    EXPECT_EQ(c.frmKrvDiag.caption(), "KRV Diagnoseprogramm");
    EXPECT_EQ(rig.state.AnsichtModus, 2);
    EXPECT_TRUE(c.List1.visible());
    EXPECT_FALSE(c.fraStatus.visible());
    EXPECT_FALSE(c.fraTimingDiagram.visible());
    EXPECT_TRUE(c.mnuHardwareAuswahl.checked());

    EXPECT_FALSE(rig.port.offen);
    EXPECT_EQ(c.SSPanel1.caption(), "COM1");
    EXPECT_EQ(c.SSPanel1.colour(), 0x0000FFu);
    EXPECT_EQ(c.SSPanel2.caption(), kLegende);
    EXPECT_TRUE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_FALSE(c.mnuDatenuebertragungStop.enabled());

    EXPECT_TRUE(c.mnuSprache[0].checked());
    EXPECT_FALSE(c.mnuSprache[1].checked());
    EXPECT_TRUE(c.mnuCom[1].checked());
    EXPECT_TRUE(c.mnuHexDumpAuswahl[0].checked());
    EXPECT_EQ(c.mnuAnsicht.caption(), "&Ansicht");
    EXPECT_EQ(c.mnuComAnschluss.caption(), "&Com-Anschluß");

    // Service-mode items stay hidden; the recorder and playback can be started.
    EXPECT_FALSE(c.mnuHexDump.visible());
    EXPECT_FALSE(c.mnuOpenCpuDatenAbspeichern.visible());
    EXPECT_TRUE(c.mnuOpenLog.enabled());
    EXPECT_FALSE(c.mnuCloseLog.enabled());
    EXPECT_TRUE(c.mnuStartSimulation.enabled());
    EXPECT_FALSE(c.mnuEndSimulation.enabled());
    EXPECT_FALSE(c.cmdWiedergabeStop.visible());

    ASSERT_EQ(c.List1.items().size(), 16u);
    EXPECT_EQ(c.List1.items().front(), "KRV-a/R");
    EXPECT_EQ(c.List1.items().back(), "KRV-cbx/Tx");
    // Model 13 is shown through the display path as the initial picture.
    ASSERT_EQ(rig.angezeigt.size(), 1u);
    EXPECT_EQ(rig.angezeigt[0], Bytes({13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.state.AnzeigeGueltig, 1);
}

TEST(MainFormStart, StoredSettingsChooseLanguageAndPort) {
    MainFormRig rig("[Einstellungen]\nSprache=10000\nComPort=2\nHexDump=2\nTimingKanal9=40\n");
    ASSERT_TRUE(rig.start());
    const MainFormState& c = rig.controls;
    EXPECT_EQ(c.frmKrvDiag.caption(), "KRV Diagnosis Software");
    EXPECT_EQ(c.mnuAnsicht.caption(), "&View");
    EXPECT_EQ(c.mnuHardwareAuswahl.caption(), "&KRV selection");
    EXPECT_TRUE(c.mnuSprache[1].checked());
    EXPECT_EQ(rig.port.nr, 2);
    EXPECT_EQ(c.SSPanel1.caption(), "COM2");
    EXPECT_TRUE(c.mnuCom[2].checked());
    EXPECT_FALSE(c.mnuCom[1].checked());
    EXPECT_TRUE(c.mnuHexDumpAuswahl[2].checked());
    EXPECT_EQ(rig.state.einstellungen.TriggerModus, 0);
}

TEST(MainFormStart, SecondCopyIsRefusedWithItsMessage) {
    MainFormRig rig("[Einstellungen]\nSprache=10000\n");
    rig.lock.frei = false;
    EXPECT_FALSE(rig.start());
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Another Instance is already running");
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::None);
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
}

TEST(MainFormStart, SplashStaysThreeSecondsFromTheNearestWholeSecond) {
    ports::ManualClock clock;
    clock.setMonotonicMs(10'400);
    EXPECT_EQ(splashRestzeitMs(clock), 2'600);
    clock.setMonotonicMs(10'600);
    EXPECT_EQ(splashRestzeitMs(clock), 3'400);
}

class MainFormRunning : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.start()); }
    MainFormRig rig{"[Einstellungen]\nComPort=2\n"};
    MainFormState& c = rig.controls;
};

TEST_F(MainFormRunning, DataTransferStartTurnsThePanelGreenAndShowsTheStatusWindow) {
    c.shpLed[5].setColour(kRot);
    rig.form.mnuDatenuebertragungStart_Click();
    EXPECT_TRUE(rig.port.offen);
    EXPECT_TRUE(rig.state.PortOffen);
    EXPECT_EQ(c.SSPanel1.caption(), "COM2");
    EXPECT_EQ(c.SSPanel1.colour(), 0x00FF00u);
    EXPECT_FALSE(c.List1.visible());
    EXPECT_TRUE(c.fraStatus.visible());
    EXPECT_TRUE(c.mnuStatusFenster.checked());
    EXPECT_FALSE(c.mnuHardwareAuswahl.checked());
    EXPECT_FALSE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_TRUE(c.mnuDatenuebertragungStop.enabled());
    EXPECT_EQ(c.shpLed[5].colour(), kWeiss);
    EXPECT_TRUE(c.Timer1.enabled());

    rig.form.mnuDatenuebertragungStop_Click();
    EXPECT_FALSE(rig.port.offen);
    EXPECT_EQ(c.SSPanel1.colour(), 0x0000FFu);
    EXPECT_TRUE(c.List1.visible());
    EXPECT_TRUE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_FALSE(c.Timer1.enabled());
}

TEST_F(MainFormRunning, TelegramsReachTheDisplayInOrderAndTheActivityLedBlinks) {
    rig.form.mnuDatenuebertragungStart_Click();
    rig.angezeigt.clear();
    // The first telegram after opening redraws the picture, LED 23 included, after the
    // indicator changed; from then on the same model keeps it blinking.
    rig.clock.setMonotonicMs(5'000);
    rig.sende(kurzTelegramm(0x0D, 1));
    EXPECT_EQ(c.shpLed[23].colour(), kWeiss);
    rig.clock.advanceMs(1'500);
    rig.sende(kurzTelegramm(0x0D, 2));
    EXPECT_EQ(c.shpLed[23].colour(), kCyan);
    rig.clock.advanceMs(400);
    rig.sende(kurzTelegramm(0x0D, 3));
    EXPECT_EQ(c.shpLed[23].colour(), kCyan);  // at most one change per second
    rig.clock.advanceMs(1'700);
    rig.sende(kurzTelegramm(0x0D, 4));
    EXPECT_EQ(c.shpLed[23].colour(), kBlau);
    ASSERT_EQ(rig.angezeigt.size(), 4u);
    for (std::uint8_t i = 0; i < 4; ++i) EXPECT_EQ(rig.angezeigt[i][2], i + 1);
}

TEST_F(MainFormRunning, CrcErrorShowsInTheStatusLineUntilTimer2) {
    rig.form.mnuDatenuebertragungStart_Click();
    Bytes kaputt = kurzTelegramm(0x0D);
    kaputt.back() ^= 0x55;
    rig.sende(kaputt);
    EXPECT_EQ(c.SSPanel2.caption(), "CRC Fehler");
    EXPECT_TRUE(c.Timer2.enabled());
    rig.form.Timer2_Timer();
    EXPECT_EQ(c.SSPanel2.caption(), kLegende);
    EXPECT_FALSE(c.Timer2.enabled());
}

TEST_F(MainFormRunning, PanelDoubleClickTogglesExceptDuringPlayback) {
    rig.form.SSPanel1_DblClick();
    EXPECT_TRUE(rig.port.offen);
    rig.form.SSPanel1_DblClick();
    EXPECT_FALSE(rig.port.offen);
    rig.state.playback.SimulationsStatus = 2;
    rig.form.SSPanel1_DblClick();
    EXPECT_FALSE(rig.port.offen);
}

TEST_F(MainFormRunning, ClosedPortKeepsPlaybackAndRecordingMenusAsTheyAre) {
    rig.form.mnuDatenuebertragungStart_Click();
    // A recording runs: stopping the transfer must not offer playback.
    c.mnuOpenLog.setEnabled(false);
    c.mnuStartSimulation.setEnabled(false);
    rig.form.mnuDatenuebertragungStop_Click();
    EXPECT_FALSE(c.mnuStartSimulation.enabled());
    // And without playback enabled the transfer cannot be restarted either.
    EXPECT_FALSE(c.mnuDatenuebertragungStart.enabled());
}

TEST_F(MainFormRunning, ModelListIsIgnoredWhileThePortIsOpen) {
    c.List1.setListIndex(4);
    rig.form.List1_Click();
    EXPECT_EQ(rig.angezeigt.back()[0], 4);
    rig.form.mnuDatenuebertragungStart_Click();
    const std::size_t before = rig.angezeigt.size();
    c.List1.setListIndex(7);
    rig.form.List1_Click();
    EXPECT_EQ(rig.angezeigt.size(), before);
}

TEST_F(MainFormRunning, UnloadClosesThePortThenFinishesTheRecording) {
    rig.form.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.form.recorder().starteAufzeichnung("/tmp/aufzeichnung.log", ports::OpenMode::Replace));
    rig.sende(kurzTelegramm(0x0D, 1));
    std::vector<std::string> order;
    rig.form.onAndereFensterSchliessen = [&] { order.push_back("windows"); };
    rig.form.Form_Unload();
    EXPECT_FALSE(rig.port.offen);
    EXPECT_FALSE(rig.form.recorder().laeuft());
    EXPECT_FALSE(rig.datei.isOpen());
    EXPECT_EQ(order, (std::vector<std::string>{"windows"}));
    // The pending run was written when the recording ended: header group and one record.
    const Bytes& inhalt = rig.datei.files["/tmp/aufzeichnung.log"];
    ASSERT_GE(inhalt.size(), 19u);
    EXPECT_EQ(inhalt[inhalt.size() - 19], 'L');
    EXPECT_EQ(inhalt[inhalt.size() - 18], '3');
    // Nothing is written to the settings file at shutdown.
    EXPECT_EQ(rig.profile.text(), "[Einstellungen]\nComPort=2\n");
}


}  // namespace
}  // namespace krv::app
