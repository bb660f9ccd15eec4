// The help window (its text file, place and printing) and the layouts of the main and help windows.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/state/FormLayout.hpp"
#include "support/AppRig.hpp"

namespace krv::app {
namespace {

using test::AppRig;

TEST(HilfeDatei, TextIsUtf8WithLineFeedsWhateverItWasWrittenWithAndCutAtACharacter) {
    // {file bytes, cut at the size limit, text}
    for (const auto& [bytes, abgeschnitten, text] :
         {std::tuple{"\xEF\xBB\xBFZeile 1\r\nZeile 2\rZeile 3\n", false, "Zeile 1\nZeile 2\nZeile 3\n"},
          {"gr\xC3\xBCn", false, "gr\xC3\xBCn"}, {"gr\xFCn \x80", false, "gr\xC3\xBCn \xE2\x82\xAC"},
          {"gr\xC3\xBC\xC3", true, "gr\xC3\xBC"}, {"ab\xE2\x82", true, "ab"},
          {"ab\xF0\x9F\x98", true, "ab"}, {"ab\xE2\x82\xAC", true, "ab\xE2\x82\xAC"}}) {
        EXPECT_EQ(hilfeTextAusBytes(bytes, abgeschnitten), text);
    }
    test::TempVerzeichnis d;
    std::filesystem::create_directory(d.pfad("Hilfe1.txt"));
    EXPECT_EQ(leseHilfeText(d.pfad("Hilfe1.txt")), "") << "no regular file";
    const std::string lang(kHilfeDateiMaxBytes - 1, 'a');
    EXPECT_EQ(leseHilfeText(d.schreibe("l.txt", lang + "\xC3\xBC!")), lang);
    // Exactly at the limit nothing is cut: the last byte is a Windows-1252 character, not half of one.
    EXPECT_EQ(leseHilfeText(d.schreibe("g.txt", lang + "\xC3")), lang + "\xC3\x83");
}

TEST(HilfeFenster, TheLanguagesFileOpensOnceIsReadAgainAfterClosingAndPrintsAsIs) {
    for (const bool englisch : {false, true}) {
        AppRig rig(englisch ? "[Einstellungen]\nSprache=10000\n" : "");
        ASSERT_TRUE(rig.start());
        const HilfeFensterState& c = rig.p.hilfe.controls();
        EXPECT_FALSE(c.frmHilfe.visible());
        rig.p.mnuHilfe_Click();
        EXPECT_TRUE(rig.p.hilfe.sichtbar() && c.txtHilfe.caption().empty()) << "no file: empty";
        const std::string datei = rig.daten.pfad(englisch ? "Hilfe1.txt" : "Hilfe0.txt");
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
        EXPECT_EQ(rig.dialogs.boxes[0].text,
                  (englisch ? "The help file cannot be read:\n" : "Die Hilfedatei kann nicht gelesen werden:\n") +
                      datei + ": No such file or directory");
        rig.dialogs.boxes.clear();
        rig.p.hilfe.Unload();
        rig.daten.schreibe("Hilfe0.txt", "Deutsch");
        rig.daten.schreibe("Hilfe1.txt", "English\r\n\fpage 2");
        rig.p.mnuHilfe_Click();
        EXPECT_EQ(c.frmHilfe.caption() + "|" + c.cmdHilfeDrucken.caption() + "|" + c.txtHilfe.caption(),
                  englisch ? "Help|Print|English\n\fpage 2" : "Hilfe|Drucken|Deutsch");
        rig.daten.schreibe(englisch ? "Hilfe1.txt" : "Hilfe0.txt", "neu");
        rig.p.mnuHilfe_Click();  // only brings it up
        EXPECT_TRUE(rig.p.hilfe.nachVorne() == 1 && c.txtHilfe.caption() != "neu");
        // Printing sends the whole text; only a failure is reported.
        for (const auto ergebnis : {ports::DruckErgebnis::Abgebrochen, ports::DruckErgebnis::Fehler}) {
            rig.printer.ergebnis = ergebnis;
            rig.p.hilfe.cmdHilfeDrucken_Click();
        }
        ASSERT_EQ(rig.printer.auftraege.size(), 2u);
        const auto& auftrag = rig.printer.auftraege[1];
        EXPECT_TRUE(!auftrag.fenster && auftrag.inhalt == c.txtHilfe.caption());
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
        EXPECT_EQ(rig.dialogs.boxes[0].text,
                  englisch ? "Printer error" : "Beim Drucken auf Ihrem Drucker gab es Probleme.");
        rig.p.hilfe.Unload();
        EXPECT_FALSE(rig.p.hilfe.sichtbar());
        rig.p.mnuHilfe_Click();
        EXPECT_EQ(c.txtHilfe.caption(), "neu");
    }
}

TEST(FensterGeometrie, TheHelpWindowTakesEveryShowableValueAndStoresItsPlaceOnClosing) {
    // Places lie within ±32767 pixels of 15 twips, sizes from 1 twip; others are the default.
    for (const auto& [werte, geometrie] :
         {std::pair{"oben=300\nbreite=4000\n", HilfeGeometrie{1000, 300, 4000, 8000}},
          {"links=-99999999999\noben=491505\nbreite=0\nhoehe=491506\n", {1000, 491505, 8000, 8000}},
          {"links=-491505\noben=-1\nbreite=1\nhoehe=240\n", {-491505, -1, 1, 240}},
          {"links=-491506\noben=491506\nbreite=-5\nhoehe=491505\n", {1000, 1000, 8000, 491505}}}) {
        AppRig rig(std::string("[HilfeFenster]\n") + werte);
        rig.p.mnuHilfe_Click();
        EXPECT_EQ(rig.p.hilfe.geometrie(), geometrie) << werte;
    }
    AppRig rig;
    rig.p.mnuHilfe_Click();
    EXPECT_EQ(rig.p.hilfe.geometrie(), (HilfeGeometrie{1000, 1000, 8000, 8000}));
    rig.p.hilfe.Move({1515, 2010, 9000, 6990});
    EXPECT_EQ(rig.profile.text(), "") << "nothing is stored while the window is open";
    rig.p.hilfe.Unload();
    EXPECT_EQ(rig.profile.text(), "[HilfeFenster]\nlinks=1515\noben=2010\nbreite=9000\nhoehe=6990\n");
    rig.p.mnuHilfe_Click();
    EXPECT_EQ(rig.p.hilfe.geometrie(), (HilfeGeometrie{1515, 2010, 9000, 6990}));
}

TEST(FensterLayout, BothWindowsFillTheirAreaAndClampAtZero) {
    AppRig rig;
    rig.p.mnuHilfe_Click();
    rig.p.hilfe.Form_Resize(200, 5000, false);
    rig.p.hilfe.Form_Resize(0, 0, true);  // a minimised window is not laid out
    EXPECT_EQ(rig.p.hilfe.layout(), (HilfeLayout{{240, 480, 0, 4520}, {0, 0, 200, 480}}));
    EXPECT_EQ(hilfeLayout(6000, 100), (HilfeLayout{{240, 480, 5760, 0}, {0, 0, 6000, 480}}));
    // Main window: the panels line the bottom edge, only the middle one stretches, the picture
    // fills the area above the first panel. Halves round to the even neighbour; no 16-bit limit.
    struct Fall {
        double breite, hoehe;
        TwipRect p1, p2, p3, bild;
    };
    for (const Fall& f :
         {Fall{8200.5, 7000.5, {0, 6656, 1000, 345}, {1000, 6700, 6000, 300}, {7000, 6600, 1200, 400},
               {0, 0, 8200, 6656}},
          Fall{38400, 20000, {0, 19655, 1000, 345}, {1000, 19700, 36200, 300}, {37200, 19600, 1200, 400},
               {0, 0, 38400, 19655}}}) {
        const FormLayout l = Form_Resize(f.breite, f.hoehe, {1000, 345}, {6000, 300}, {1200, 400});
        EXPECT_TRUE(l.SSPanel1 == f.p1 && l.SSPanel2 == f.p2 && l.SSPanel3 == f.p3) << f.breite;
        EXPECT_EQ(l.picContainer, f.bild);
    }
    const FormLayout klein = Form_Resize(500, 200, {1000, 345}, {6000, 300}, {1200, 400});
    EXPECT_EQ(klein.SSPanel3, (TwipRect{1000, 0, 1200, 400}));
    EXPECT_EQ(klein.picContainer, (TwipRect{0, 0, 500, 0}));
}

}  // namespace
}  // namespace krv::app
