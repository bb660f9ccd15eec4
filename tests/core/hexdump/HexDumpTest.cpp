#include "core/hexdump/HexDump.hpp"

#include <gtest/gtest.h>

#include "core/app/MainFormState.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/hexdump/HauptfensterDrucken.hpp"
#include "core/hexdump/HexDumpMenue.hpp"
#include "core/hexdump/HexDumpText.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"

namespace krv::hexdump {
namespace {

// The hex dump window over a receive state the test fills, as the main window's display leaves it.
struct HexDumpRig {
    explicit HexDumpRig(const std::string& ini = "") : profile(ini) {}

    app::MemoryProfile profile;
    ports::ScriptedDialogs dialogs;
    ports::RecordingPrinter printer;
    app::ProgramState state;
    link::ReceiveState receive;
    app::MainFormState mainControls;
    HexDumpFenster fenster{state, receive, profile, dialogs, printer};
    HexDumpMenue menue{state, mainControls, fenster, profile};

    // A telegram "L1"/"L2" with this payload in the buffer, two bytes of an earlier telegram's
    // tail in front of it, and the display variables pointing at its data byte 0.
    void telegramm(const Bytes& payload) {
        receive.reset();
        Bytes puffer = {0xAA, 0xBB, 'L', static_cast<std::uint8_t>(payload.size() == 256 ? '2' : '1')};
        puffer.insert(puffer.end(), payload.begin(), payload.end());
        puffer.push_back(0x00);  // check byte, not read here
        receive.EmpfangsString.append(puffer);
        receive.DatenStart = 5;
        receive.DatenLaenge = payload.size();
    }

    const GridControl& grid() const { return fenster.controls().Grid1; }
    std::string zelle(int i) const { return grid().textMatrix(i / 16 + 1, i % 16 + 1); }
};

Bytes folge(std::size_t n, std::uint8_t start = 0) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(start + i);
    return b;
}

TEST(HexDumpText, CellsAndTheSelectedCellLine) {
    EXPECT_EQ(hexText(0), "0");
    EXPECT_EQ(hexText(0x0F), "F");
    EXPECT_EQ(hexText(0x4C), "4C");
    EXPECT_EQ(hexText(0xFF), "FF");
    EXPECT_EQ(zellenText(7, 0), "7");
    EXPECT_EQ(zellenText(200, 0), "200");
    EXPECT_EQ(zellenText(7, 1), "7");
    EXPECT_EQ(zellenText(200, 1), "C8");
    EXPECT_EQ(zellenInhaltText(0x12, 0x4C), "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100");
    EXPECT_EQ(zellenInhaltText(0, 0), "Adr.: 0  ASC: 0  Hex: 0  Bin: 00000000");
    EXPECT_EQ(zellenInhaltText(0xFF, 0x81), "Adr.: FF  ASC: 129  Hex: 81  Bin: 10000001");
}

TEST(HexDumpGrid, ResizingKeepsTheCellsThatRemain) {
    GridControl g{"Grid1"};
    g.setCols(3);
    g.setRows(3);
    g.setTextMatrix(1, 1, "a");
    g.setTextMatrix(2, 2, "b");
    g.setRows(2);
    EXPECT_EQ(g.textMatrix(1, 1), "a");
    g.setRows(3);
    EXPECT_EQ(g.textMatrix(2, 2), "") << "a row that was dropped comes back empty";
    EXPECT_EQ(g.textMatrix(5, 5), "");
    g.setTextMatrix(5, 5, "x");  // outside: ignored, not counted
    EXPECT_EQ(g.zellenSchreibvorgaenge(), 2u);
}

TEST(HexDumpFenster, LoadingLaysOutSixteenRowsWithHeadersInTheStoredFormat) {
    HexDumpRig rig;
    rig.state.einstellungen.HexDumpAnzeige = 1;
    rig.fenster.Show();
    const HexDumpFensterState& c = rig.fenster.controls();
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_EQ(c.frmHexDump.caption(), "HexDump");
    EXPECT_EQ(c.cmdHexDumpDrucken.caption(), "Drucken");
    EXPECT_EQ(c.optHexDumpDisplay[0].caption(), " Anzeige ASCII");
    EXPECT_EQ(c.optHexDumpDisplay[1].caption(), " Anzeige HEX");
    EXPECT_FALSE(c.optHexDumpDisplay[0].checked());
    EXPECT_TRUE(c.optHexDumpDisplay[1].checked());

    const GridControl& g = rig.grid();
    EXPECT_EQ(g.rows(), 17);
    EXPECT_EQ(g.cols(), 17);
    EXPECT_EQ(rig.fenster.datenZeilen(), 16);
    EXPECT_EQ(g.textMatrix(0, 1), "0");
    EXPECT_EQ(g.textMatrix(0, 16), "F");
    EXPECT_EQ(g.textMatrix(16, 0), "F");
    EXPECT_EQ(g.colWidth(5), 400);
    EXPECT_TRUE(g.zentriert());
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.col(), 1);
    // All 17 columns and rows fit.
    EXPECT_GE(g.breite(), kKopfSpaltenBreite + 16 * 400);
    EXPECT_GE(g.hoehe(), 17 * g.rowHeight());
    EXPECT_FALSE(rig.fenster.imVordergrund());
}

TEST(HexDumpFenster, ShortTelegramFillsOneRowAndALongOneSixteen) {
    HexDumpRig rig;
    rig.fenster.Show();
    Bytes kurz = folge(16, 0);
    kurz[12] = 0x4C;
    rig.telegramm(kurz);
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().rows(), 2);
    EXPECT_EQ(rig.grid().textMatrix(1, 0), "0");
    EXPECT_EQ(rig.zelle(0), "0");
    EXPECT_EQ(rig.zelle(12), "76");
    EXPECT_EQ(rig.zelle(15), "15");
    EXPECT_EQ(rig.fenster.HexZelle(12), 0x4C);
    EXPECT_EQ(rig.fenster.HexZelle(16), -1);

    // 16 -> 256 bytes: sixteen data rows, every cell written.
    const unsigned vorher = rig.grid().zellenSchreibvorgaenge();
    rig.telegramm(folge(256, 0));
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().rows(), 17);
    EXPECT_EQ(rig.fenster.datenZeilen(), 16);
    EXPECT_EQ(rig.zelle(0x12), "18");
    EXPECT_EQ(rig.zelle(0xFF), "255");
    EXPECT_EQ(rig.grid().zellenSchreibvorgaenge() - vorher, 16u + 16u + 256u) << "headers, row numbers, cells";

    // And back: one data row again, all sixteen cells rewritten although bytes 0..15 are equal.
    const unsigned davor = rig.grid().zellenSchreibvorgaenge();
    rig.telegramm(folge(16, 0));
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().rows(), 2);
    EXPECT_EQ(rig.grid().zellenSchreibvorgaenge() - davor, 16u + 1u + 16u);
    EXPECT_EQ(rig.fenster.HexZelle(0x12), -1);
}

TEST(HexDumpFenster, OnlyChangedCellsAreWritten) {
    HexDumpRig rig;
    rig.fenster.Show();
    rig.telegramm(folge(256, 3));
    rig.fenster.Anzeige(0);
    const unsigned nachErstem = rig.grid().zellenSchreibvorgaenge();

    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().zellenSchreibvorgaenge(), nachErstem);

    Bytes geaendert = folge(256, 3);
    geaendert[0x12] = 0x4C;
    geaendert[0xFF] = 0;
    rig.telegramm(geaendert);
    unsigned geschrieben = 0;
    std::vector<std::pair<int, int>> zellen;
    rig.fenster.controls().Grid1.setZellenListener([&](int r, int c) { zellen.emplace_back(r, c); });
    rig.fenster.Anzeige(0);
    geschrieben = rig.grid().zellenSchreibvorgaenge() - nachErstem;
    EXPECT_EQ(geschrieben, 2u);
    EXPECT_EQ(zellen, (std::vector<std::pair<int, int>>{{2, 3}, {16, 16}}));
    EXPECT_EQ(rig.zelle(0x12), "76");
}

TEST(HexDumpFenster, SwitchingTheFormatRewritesEveryCellAndIsStored) {
    HexDumpRig rig;
    rig.fenster.Show();
    Bytes daten = folge(16, 0xF0);
    rig.telegramm(daten);
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.zelle(0), "240");

    const unsigned vorher = rig.grid().zellenSchreibvorgaenge();
    rig.fenster.optHexDumpDisplay_Click(1);
    EXPECT_EQ(rig.grid().zellenSchreibvorgaenge() - vorher, 16u);
    EXPECT_EQ(rig.zelle(0), "F0");
    EXPECT_EQ(rig.zelle(15), "FF");
    EXPECT_EQ(rig.state.einstellungen.HexDumpAnzeige, 1);
    EXPECT_TRUE(rig.fenster.controls().optHexDumpDisplay[1].checked());
    EXPECT_FALSE(rig.fenster.controls().optHexDumpDisplay[0].checked());
    EXPECT_EQ(rig.profile.GetPrivateProfileInt("Einstellungen", "HexDumpDisplay", -1), 1);

    rig.fenster.optHexDumpDisplay_Click(0);
    EXPECT_EQ(rig.zelle(0), "240");
    EXPECT_EQ(rig.profile.GetPrivateProfileInt("Einstellungen", "HexDumpDisplay", -1), 0);
}

TEST(HexDumpFenster, SelectedCellLineAndUnfilledCells) {
    HexDumpRig rig;
    rig.fenster.Show();
    const app::Control& label = rig.fenster.controls().lblZellenInhalt;

    // Nothing filled yet: the label stays as it is.
    rig.fenster.Grid1_SelChange(3, 4);
    EXPECT_EQ(label.caption(), "");

    Bytes daten = folge(256, 0);
    daten[0x12] = 0x4C;
    rig.telegramm(daten);
    rig.fenster.Anzeige(0);
    rig.fenster.Grid1_SelChange(2, 3);  // row 0x1_, column _2
    EXPECT_EQ(label.caption(), "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100");

    // The display keeps the selection while it writes cells.
    rig.fenster.Anzeige(1);
    EXPECT_EQ(rig.grid().row(), 2);
    EXPECT_EQ(rig.grid().col(), 3);

    // A format switch while the telegram is gone from the buffer empties the cache: the label
    // keeps its last text for any cell chosen now.
    rig.receive.reset();
    rig.fenster.optHexDumpDisplay_Click(1);
    rig.fenster.Grid1_SelChange(5, 5);
    EXPECT_EQ(label.caption(), "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100");
    rig.fenster.Form_Activate();
    EXPECT_EQ(label.caption(), "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100");

    // A header cell is no data cell.
    rig.telegramm(daten);
    rig.fenster.Anzeige(0);
    rig.fenster.Grid1_SelChange(0, 0);
    EXPECT_EQ(label.caption(), "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100");
    rig.fenster.Grid1_SelChange(1, 1);
    EXPECT_EQ(label.caption(), "Adr.: 0  ASC: 0  Hex: 0  Bin: 00000000");
}

TEST(HexDumpFenster, NoTelegramOrEmptyBufferShowsNothing) {
    HexDumpRig rig;
    rig.fenster.Show();
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().rows(), 17);
    rig.telegramm(folge(16));
    rig.receive.DatenLaenge = 0;
    rig.fenster.Anzeige(0);
    EXPECT_EQ(rig.grid().rows(), 17);
    EXPECT_EQ(rig.fenster.HexZelle(0), -1);
}

TEST(HexDumpFenster, UseWhileUnloadedLoadsItHidden) {
    HexDumpRig rig;
    rig.telegramm(folge(16));
    rig.fenster.Anzeige(0);
    EXPECT_TRUE(rig.fenster.geladen());
    EXPECT_FALSE(rig.fenster.sichtbar());
    EXPECT_EQ(rig.zelle(5), "5");
    rig.fenster.Show();
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_EQ(rig.zelle(5), "5");

    rig.fenster.Unload();
    EXPECT_FALSE(rig.fenster.geladen());
    EXPECT_EQ(rig.fenster.controls().frmHexDump.caption(), "");
    EXPECT_EQ(rig.fenster.HexZelle(5), -1);
}

class HexDumpModi : public ::testing::Test {
protected:
    void SetUp() override {
        // As the program starts with no settings: mode 0 checked.
        rig.mainControls.mnuHexDumpAuswahl[0].setChecked(true);
    }
    bool checked(int i) const { return rig.mainControls.mnuHexDumpAuswahl[static_cast<std::size_t>(i)].checked(); }
    int gespeichert() { return rig.profile.GetPrivateProfileInt("Einstellungen", "HexDump", -1); }

    HexDumpRig rig;
};

TEST_F(HexDumpModi, StandardShowsAndAlwaysVisibleKeepsInFront) {
    rig.menue.mnuHexDumpAuswahl_Click(1);
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_FALSE(rig.fenster.imVordergrund());
    EXPECT_EQ(gespeichert(), 1);
    EXPECT_FALSE(checked(0));
    EXPECT_TRUE(checked(1));

    rig.telegramm(folge(16));
    rig.fenster.Anzeige(0);
    rig.menue.mnuHexDumpAuswahl_Click(2);
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_TRUE(rig.fenster.imVordergrund());
    EXPECT_EQ(rig.fenster.HexZelle(0), -1) << "the window was loaded anew";
    EXPECT_EQ(rig.grid().rows(), 17);
    EXPECT_EQ(gespeichert(), 2);
    EXPECT_FALSE(checked(1));
    EXPECT_TRUE(checked(2));

    rig.menue.mnuHexDumpAuswahl_Click(0);
    EXPECT_FALSE(rig.fenster.geladen());
    EXPECT_FALSE(rig.fenster.imVordergrund());
    EXPECT_EQ(gespeichert(), 0);
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(checked(2));
}

TEST_F(HexDumpModi, TheActiveModeDoesNothing) {
    rig.menue.mnuHexDumpAuswahl_Click(0);
    EXPECT_EQ(rig.profile.text(), "");
    EXPECT_FALSE(rig.fenster.geladen());

    rig.menue.mnuHexDumpAuswahl_Click(1);
    rig.telegramm(folge(16));
    rig.fenster.Anzeige(0);
    rig.menue.mnuHexDumpAuswahl_Click(1);
    EXPECT_EQ(rig.fenster.HexZelle(3), 3) << "not reloaded";
}

TEST_F(HexDumpModi, CloseBoxStoresZeroAndStandardOpensItAgain) {
    rig.menue.mnuHexDumpAuswahl_Click(2);
    rig.fenster.Schliessfeld();
    EXPECT_FALSE(rig.fenster.geladen());
    EXPECT_EQ(rig.state.einstellungen.HexDumpModus, 0);
    EXPECT_EQ(gespeichert(), 0);
    EXPECT_TRUE(checked(2)) << "the close box leaves the check marks alone";

    rig.menue.mnuHexDumpAuswahl_Click(1);
    EXPECT_TRUE(rig.fenster.sichtbar());
    EXPECT_TRUE(checked(1));
    EXPECT_EQ(gespeichert(), 1);

    // Unloading by the program (not the close box) keeps the mode and the setting.
    rig.fenster.Form_QueryUnload(kUnloadCode);
    rig.fenster.Unload();
    EXPECT_EQ(rig.state.einstellungen.HexDumpModus, 1);
    EXPECT_EQ(gespeichert(), 1);
}

TEST(HexDumpDrucken, WindowAndMainWindowGoToThePrinter) {
    HexDumpRig rig;
    rig.fenster.Show();
    rig.fenster.cmdHexDumpDrucken_Click();
    mnuPrint_Click(rig.printer, rig.dialogs, 0);
    ASSERT_EQ(rig.printer.auftraege.size(), 2u);
    EXPECT_TRUE(rig.printer.auftraege[0].fenster);
    EXPECT_EQ(rig.printer.auftraege[0].inhalt, "frmHexDump");
    EXPECT_TRUE(rig.printer.auftraege[1].fenster);
    EXPECT_EQ(rig.printer.auftraege[1].inhalt, "frmKrvDiag");
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    // A cancelled print dialog is no failure.
    rig.printer.ergebnis = ports::DruckErgebnis::Abgebrochen;
    rig.fenster.cmdHexDumpDrucken_Click();
    mnuPrint_Click(rig.printer, rig.dialogs, 0);
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST(HexDumpDrucken, AFailingPrinterShowsTheWindowsMessage) {
    HexDumpRig rig;
    rig.printer.ergebnis = ports::DruckErgebnis::Fehler;
    rig.fenster.Show();
    rig.fenster.cmdHexDumpDrucken_Click();
    mnuPrint_Click(rig.printer, rig.dialogs, 10000);
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Die Form kann nicht gedruckt werden.");
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::None);
    EXPECT_EQ(rig.dialogs.boxes[0].title, "");
    EXPECT_EQ(rig.dialogs.boxes[1].text, "It's not possible to print");
    EXPECT_TRUE(rig.fenster.sichtbar()) << "the program goes on";
}

}  // namespace
}  // namespace krv::hexdump
