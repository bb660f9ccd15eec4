#include "core/app/HilfeFenster.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/app/MemoryProfile.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::app {
namespace {

namespace fs = std::filesystem;

using krv::test::TempVerzeichnis;

struct HilfeRig {
    explicit HilfeRig(const std::string& ini = "") : profile(ini) { state.ProgrammPfad = daten.programmPfad(); }

    TempVerzeichnis daten;
    MemoryProfile profile;
    ports::ScriptedDialogs dialogs;
    ports::RecordingPrinter printer;
    ProgramState state;
    HilfeFenster fenster{state, profile, dialogs, printer};
};

TEST(HilfeDatei, NameFollowsTheLanguage) {
    EXPECT_EQ(hilfeDateiName("/opt/krv/", 0), "/opt/krv/Hilfe0.txt");
    EXPECT_EQ(hilfeDateiName("/opt/krv/", 10000), "/opt/krv/Hilfe1.txt");
}

TEST(HilfeDatei, TextIsUtf8WithLineFeeds) {
    EXPECT_EQ(hilfeTextAusBytes("\xEF\xBB\xBFZeile 1\r\nZeile 2\rZeile 3\n", false), "Zeile 1\nZeile 2\nZeile 3\n");
    EXPECT_EQ(hilfeTextAusBytes("gr\xC3\xBCn", false), "gr\xC3\xBCn");
    // Written on Windows: Windows-1252.
    EXPECT_EQ(hilfeTextAusBytes("gr\xFCn \x80", false), "gr\xC3\xBCn \xE2\x82\xAC");
    // A cut through the last character drops that character, not the whole text's encoding.
    EXPECT_EQ(hilfeTextAusBytes("gr\xC3\xBC\xC3", true), "gr\xC3\xBC");
    EXPECT_EQ(hilfeTextAusBytes("ab\xE2\x82", true), "ab");
    EXPECT_EQ(hilfeTextAusBytes("ab\xE2\x82\xAC", true), "ab\xE2\x82\xAC");
}

TEST(HilfeDatei, MissingOrNoRegularFileReadsEmpty) {
    TempVerzeichnis d;
    EXPECT_EQ(leseHilfeText(d.programmPfad() + "Hilfe0.txt"), "");
    fs::create_directory(d.programmPfad() + "Hilfe1.txt");
    EXPECT_EQ(leseHilfeText(d.programmPfad() + "Hilfe1.txt"), "");
}

TEST(HilfeDatei, LongFileIsCutAtACharacterBoundary) {
    TempVerzeichnis d;
    std::string inhalt(kHilfeDateiMaxBytes - 1, 'a');
    inhalt += "\xC3\xBC und mehr";
    d.schreibe("Hilfe0.txt", inhalt);
    const std::string text = leseHilfeText(d.programmPfad() + "Hilfe0.txt");
    EXPECT_EQ(text.size(), kHilfeDateiMaxBytes - 1);
    EXPECT_TRUE(diag::istUtf8(text));
}

TEST(HilfeFenster, EnglishLoadsHilfe1WithItsCaptions) {
    HilfeRig rig;
    rig.daten.schreibe("Hilfe0.txt", "Deutsch");
    rig.daten.schreibe("Hilfe1.txt", "English\r\nsecond line");
    rig.state.einstellungen.SprachOffset = 10000;
    rig.fenster.mnuHilfe_Click();
    const HilfeFensterState& c = rig.fenster.controls();
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_EQ(c.frmHilfe.caption(), "Help");
    EXPECT_EQ(c.cmdHilfeDrucken.caption(), "Print");
    EXPECT_EQ(c.txtHilfe.caption(), "English\nsecond line");

    HilfeRig deutsch;
    deutsch.daten.schreibe("Hilfe0.txt", "Deutsch");
    deutsch.fenster.mnuHilfe_Click();
    EXPECT_EQ(deutsch.fenster.controls().frmHilfe.caption(), "Hilfe");
    EXPECT_EQ(deutsch.fenster.controls().cmdHilfeDrucken.caption(), "Drucken");
    EXPECT_EQ(deutsch.fenster.controls().txtHilfe.caption(), "Deutsch");
}

TEST(HilfeFenster, MissingFileOpensEmptyWithoutMessage) {
    HilfeRig rig;
    rig.fenster.mnuHilfe_Click();
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_EQ(rig.fenster.controls().txtHilfe.caption(), "");
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST(HilfeFenster, SecondOpeningOnlyBringsItUp) {
    HilfeRig rig;
    rig.daten.schreibe("Hilfe0.txt", "alt");
    rig.fenster.mnuHilfe_Click();
    rig.fenster.Move({2000, 2000, 5000, 5000});
    rig.daten.schreibe("Hilfe0.txt", "neu");
    rig.fenster.mnuHilfe_Click();
    EXPECT_EQ(rig.fenster.nachVorne(), 1u);
    EXPECT_EQ(rig.fenster.controls().txtHilfe.caption(), "alt");
    EXPECT_EQ(rig.fenster.geometrie(), (HilfeGeometrie{2000, 2000, 5000, 5000}));
    EXPECT_TRUE(rig.profile.text().empty()) << "nothing is stored before the window closes";

    // Closed and opened again, it reads the file anew.
    rig.fenster.Unload();
    EXPECT_FALSE(rig.fenster.geladen());
    rig.fenster.mnuHilfe_Click();
    EXPECT_EQ(rig.fenster.controls().txtHilfe.caption(), "neu");
}

TEST(HilfeFenster, GeometryDefaultsAndRoundTrip) {
    HilfeRig rig;
    rig.fenster.mnuHilfe_Click();
    EXPECT_EQ(rig.fenster.geometrie(), (HilfeGeometrie{1000, 1000, 8000, 8000}));

    rig.fenster.Move({1515, 2010, 9000, 6990});
    rig.fenster.Unload();
    EXPECT_EQ(rig.profile.text(), "[HilfeFenster]\nlinks=1515\noben=2010\nbreite=9000\nhoehe=6990\n");

    rig.fenster.mnuHilfe_Click();
    EXPECT_EQ(rig.fenster.geometrie(), (HilfeGeometrie{1515, 2010, 9000, 6990}));

    // Each key on its own: a missing one takes its default.
    HilfeRig teilweise("[HilfeFenster]\noben=300\nbreite=4000\n");
    teilweise.fenster.mnuHilfe_Click();
    EXPECT_EQ(teilweise.fenster.geometrie(), (HilfeGeometrie{1000, 300, 4000, 8000}));
}

TEST(HilfeFenster, LayoutFillsTheWindowAndClampsAtZero) {
    EXPECT_EQ(hilfeLayout(6000, 5000), (HilfeLayout{{240, 480, 5760, 4520}, {0, 0, 6000, 480}}));
    EXPECT_EQ(hilfeLayout(200, 5000).txtHilfe, (TwipRect{240, 480, 0, 4520}));
    EXPECT_EQ(hilfeLayout(240, 480).txtHilfe, (TwipRect{240, 480, 0, 0}));
    EXPECT_EQ(hilfeLayout(3000, 100).txtHilfe.height, 0);
    EXPECT_EQ(hilfeLayout(-50, -50).lblObererRand.width, 0);

    HilfeRig rig;
    rig.fenster.mnuHilfe_Click();
    rig.fenster.Form_Resize(6000, 5000, false);
    const HilfeLayout vorher = rig.fenster.layout();
    EXPECT_EQ(vorher, hilfeLayout(6000, 5000));
    rig.fenster.Form_Resize(0, 0, true);
    EXPECT_EQ(rig.fenster.layout(), vorher) << "a minimised window is not laid out";
}

TEST(HilfeFenster, PrintingSendsTheWholeTextAndReportsFailure) {
    HilfeRig rig;
    rig.daten.schreibe("Hilfe0.txt", "Seite 1\n\fSeite 2\n");
    rig.fenster.mnuHilfe_Click();
    rig.fenster.cmdHilfeDrucken_Click();
    ASSERT_EQ(rig.printer.auftraege.size(), 1u);
    EXPECT_FALSE(rig.printer.auftraege[0].fenster);
    EXPECT_EQ(rig.printer.auftraege[0].inhalt, "Seite 1\n\fSeite 2\n");
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    rig.printer.ergebnis = ports::DruckErgebnis::Abgebrochen;
    rig.fenster.cmdHilfeDrucken_Click();
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    rig.printer.ergebnis = ports::DruckErgebnis::Fehler;
    rig.fenster.cmdHilfeDrucken_Click();
    rig.state.einstellungen.SprachOffset = 10000;
    rig.fenster.cmdHilfeDrucken_Click();
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Beim Drucken auf Ihrem Drucker gab es Probleme.");
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::None);
    EXPECT_EQ(rig.dialogs.boxes[1].text, "Printer error");
}

// The help files shipped with the program.
class MitgelieferteHilfe : public ::testing::TestWithParam<const char*> {
protected:
    std::string lese() const {
        const fs::path pfad = fs::path(KRVDIAG_TEST_DATA_DIR) / ".." / ".." / "resources" / "data" / GetParam();
        std::ifstream in(pfad, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_P(MitgelieferteHilfe, IsAPlainUtf8GuideWithoutTheServiceCodes) {
    const std::string text = lese();
    ASSERT_GT(text.size(), 8000u) << GetParam();
    EXPECT_LT(text.size(), kHilfeDateiMaxBytes);
    EXPECT_TRUE(diag::istUtf8(text));
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find('\t'), std::string::npos);
    for (const char* thema : {"KrvDiag.ini", "[Ports]", "COM1", "dialout", "9600", ".log", "Fehler0.txt", "Ctrl+L"}) {
        EXPECT_NE(text.find(thema), std::string::npos) << GetParam() << " lacks " << thema;
    }
    for (const char* code : {"Tovk", "Hesto"}) EXPECT_EQ(text.find(code), std::string::npos) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Sprachen, MitgelieferteHilfe, ::testing::Values("Hilfe0.txt", "Hilfe1.txt"));

}  // namespace
}  // namespace krv::app
