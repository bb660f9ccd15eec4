#include "core/app/Sprache.hpp"

#include <gtest/gtest.h>

#include "../link/PortTestDoubles.hpp"
#include "core/app/HilfeFenster.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/hexdump/HexDumpMenue.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"

namespace krv::app {
namespace {

const char* const kLegendeDe = " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig";
const char* const kLegendeEn = " Connector and LED-colors: red=0V/open, green=24V/closed, yellow=high impedance";

class FreiesLock : public ports::InstanceLock {
public:
    bool acquire() override { return true; }
};

// The real main window with scripted ports, its hex dump, CPU error and help windows, started
// as the program starts.
struct SpracheRig {
    explicit SpracheRig(const std::string& ini = "") : profile(ini) {}

    test::Log log;
    MemoryProfile profile;
    ports::ManualClock clock;
    test::LoggingDialogs dialogs{log};
    test::ScriptedSerialPort port{log};
    FreiesLock lock;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink datei;
    ports::MemoryFileSink cpuDatei;
    ports::MemoryFileSource quelle;
    ProgramState state;
    MainFormState controls;
    MainForm form{state, controls, Ports{profile, clock, dialogs, port, pictures, printer, datei, cpuDatei, quelle}};
    hexdump::HexDumpFenster hexDump{state, form.receivePath().receive(), profile, dialogs, printer};
    hexdump::HexDumpMenue hexDumpMenue{state, controls, hexDump, profile};
    HilfeFenster hilfe{state, profile, dialogs, printer};
    Sprache sprache{form, hexDump, form.cpuFehlerFenster(), profile};
    std::vector<std::string> neuGezeichnet;

    void start() {
        ASSERT_TRUE(ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, "/nicht/vorhanden/", {}));
        form.Form_Load();
        ProgrammStartNachDemLaden(state, form);
        sprache.onNeuZeichnen = [this](const std::string& name) { neuGezeichnet.push_back(name); };
    }

    // A live telegram of model 13 with the CPU error flag and error number 5.
    void cpuFehlerTelegramm() {
        form.mnuDatenuebertragungStart_Click();
        link::StatusBlock block{};
        block[0] = 0x1D;
        block[15] = 5;
        const Bytes t = link::kurzTelegramm(block);
        port.wartend.insert(port.wartend.end(), t.begin(), t.end());
        port.raise(ports::CommEvent::Empfang);
    }

    std::string sprachWert() { return profile.GetPrivateProfileString("Einstellungen", "Sprache", "fehlt"); }
};

TEST(Sprache, SwitchingToEnglishAndBackRewritesTheMainWindowAndStoresTheChoice) {
    SpracheRig rig;
    rig.start();
    const MainFormState& c = rig.controls;
    const std::vector<std::string> modelle = c.List1.items();
    rig.hilfe.mnuHilfe_Click();

    rig.sprache.mnuSprache_Click(1);
    EXPECT_EQ(rig.sprachWert(), "10000");
    EXPECT_EQ(rig.state.einstellungen.SprachOffset, 10000);
    EXPECT_FALSE(c.mnuSprache[0].checked());
    EXPECT_TRUE(c.mnuSprache[1].checked());
    // Menus in table order, the playback buttons, the status window, the status bar.
    EXPECT_EQ(c.mnuFile.caption(), "&File");
    EXPECT_EQ(c.mnuPrint.caption(), "&Print");
    EXPECT_EQ(c.mnuDatenuebertragung.caption(), "&Datatransfer");
    EXPECT_EQ(c.mnuSprachen.caption(), "&Language");
    EXPECT_EQ(c.mnuSprache[0].caption(), "&German");
    EXPECT_EQ(c.mnuComAnschluss.caption(), "&Com port");
    EXPECT_EQ(c.mnuHexDumpAuswahl[2].caption(), "always visible");
    EXPECT_EQ(c.mnuAnsicht.caption(), "&View");
    EXPECT_EQ(c.mnuStatusFenster.caption(), "&Statuswindow");
    EXPECT_EQ(c.mnuHardwareAuswahl.caption(), "&KRV selection");
    EXPECT_EQ(c.mnuInfo.caption(), "&About");
    EXPECT_EQ(c.cmdWiedergabeStart.caption(), "playback start");
    EXPECT_EQ(c.lblDiagStatusText[0].caption(), "Program version:  ");
    EXPECT_EQ(c.lblDiagStatusText[19].caption(), "restart-interlock:  ");
    EXPECT_EQ(c.SSPanel1.caption(), "COM1");
    EXPECT_EQ(c.SSPanel2.caption(), kLegendeEn);
    // Filled at start-up, the model list keeps what it holds.
    EXPECT_EQ(c.List1.items(), modelle);
    // The open help window keeps the language it was loaded in.
    EXPECT_EQ(rig.hilfe.controls().frmHilfe.caption(), "Hilfe");
    // Neither the unused hex dump window nor the CPU error window was touched.
    EXPECT_FALSE(rig.hexDump.geladen());
    EXPECT_FALSE(rig.form.cpuFehlerFenster().geladen());
    EXPECT_EQ(rig.neuGezeichnet, std::vector<std::string>{"frmKrvDiag"});

    rig.sprache.mnuSprache_Click(0);
    EXPECT_EQ(rig.sprachWert(), "0");
    EXPECT_TRUE(c.mnuSprache[0].checked());
    EXPECT_FALSE(c.mnuSprache[1].checked());
    EXPECT_EQ(c.mnuAnsicht.caption(), "&Ansicht");
    EXPECT_EQ(c.mnuStatusFenster.caption(), "&Statusfenster");
    EXPECT_EQ(c.lblDiagStatusText[0].caption(), "Programm Version:  ");
    EXPECT_EQ(c.SSPanel2.caption(), kLegendeDe);
}

TEST(Sprache, TheNextStartKeepsTheChoice) {
    SpracheRig erster;
    erster.start();
    erster.sprache.mnuSprache_Click(1);

    SpracheRig zweiter(erster.profile.text());
    zweiter.start();
    EXPECT_EQ(zweiter.controls.frmKrvDiag.caption(), "KRV Diagnosis Software");
    EXPECT_EQ(zweiter.controls.mnuAnsicht.caption(), "&View");
    EXPECT_TRUE(zweiter.controls.mnuSprache[1].checked());
    EXPECT_FALSE(zweiter.controls.mnuSprache[0].checked());
}

TEST(Sprache, WindowsInUseFollowTheSwitch) {
    SpracheRig rig;
    rig.start();
    rig.hexDumpMenue.mnuHexDumpAuswahl_Click(1);
    rig.cpuFehlerTelegramm();
    ASSERT_TRUE(rig.state.CpuFehlerAktiv);
    ASSERT_TRUE(rig.form.cpuFehlerFenster().sichtbar());
    EXPECT_EQ(rig.form.cpuFehlerFenster().controls().frmCpuFehlermeldung.caption(), "Fehlermeldung");
    EXPECT_EQ(rig.hexDump.controls().frmHexDump.caption(), "HexDump");

    rig.sprache.mnuSprache_Click(1);
    EXPECT_EQ(rig.hexDump.controls().cmdHexDumpDrucken.caption(), "Print");
    EXPECT_EQ(rig.hexDump.controls().optHexDumpDisplay[1].caption(), " Display HEX");
    EXPECT_EQ(rig.form.cpuFehlerFenster().controls().frmCpuFehlermeldung.caption(), "Error");
    EXPECT_TRUE(rig.hexDump.sichtbar());
    EXPECT_TRUE(rig.form.cpuFehlerFenster().sichtbar());
    EXPECT_EQ(rig.neuGezeichnet, (std::vector<std::string>{"frmKrvDiag", "frmHexDump", "frmCpuFehlermeldung"}));
    // The port stays open and its panel is rewritten in English.
    EXPECT_EQ(rig.controls.SSPanel1.colour(), 0x00FF00u);
    EXPECT_EQ(rig.controls.SSPanel2.caption(), kLegendeEn);
}

TEST(Sprache, AClosedHexDumpWindowStaysClosed) {
    SpracheRig rig;
    rig.start();
    rig.hexDumpMenue.mnuHexDumpAuswahl_Click(2);
    rig.hexDump.Schliessfeld();
    rig.sprache.mnuSprache_Click(1);
    EXPECT_FALSE(rig.hexDump.geladen());
    EXPECT_EQ(rig.neuGezeichnet, std::vector<std::string>{"frmKrvDiag"});
}

TEST(Sprache, UnknownItemChangesNothing) {
    SpracheRig rig;
    rig.start();
    rig.sprache.mnuSprache_Click(2);
    rig.sprache.mnuSprache_Click(-1);
    EXPECT_EQ(rig.sprachWert(), "fehlt");
    EXPECT_TRUE(rig.controls.mnuSprache[0].checked());
    EXPECT_TRUE(rig.neuGezeichnet.empty());
}

}  // namespace
}  // namespace krv::app
