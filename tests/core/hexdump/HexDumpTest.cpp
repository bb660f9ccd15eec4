// The hex dump window and its menu through the whole program, and the printing of the windows.
#include <gtest/gtest.h>

#include "support/AppRig.hpp"

namespace krv::hexdump {
namespace {

Bytes folge(std::size_t n, std::uint8_t start) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(start + i);
    return b;
}

// The program started with these settings and the port open.
struct HexDumpRig : test::AppRig {
    explicit HexDumpRig(const std::string& ini = "") : AppRig(ini) {
        start();
        p.form.mnuDatenuebertragungStart_Click();
    }
    const GridControl& grid() const { return p.hexDump.controls().Grid1; }
    std::string zelle(int i) const { return grid().textMatrix(i / 16 + 1, i % 16 + 1); }
    unsigned geschrieben() const { return grid().zellenSchreibvorgaenge(); }
};

TEST(HexDumpFenster, TelegramsFillOneRowOrSixteenAndOnlyChangedCellsAreWritten) {
    HexDumpRig rig("[Einstellungen]\nHexDumpDisplay=1\n");
    rig.p.mnuHexDumpAuswahl_Click(1);
    const HexDumpFensterState& c = rig.p.hexDump.controls();
    EXPECT_TRUE(c.optHexDumpDisplay[1].checked() && !c.optHexDumpDisplay[0].checked()) << "the stored format";
    EXPECT_EQ(c.cmdHexDumpDrucken.caption(), "Drucken");
    EXPECT_TRUE(rig.grid().rows() == 17 && rig.grid().cols() == 17);
    EXPECT_EQ(rig.grid().textMatrix(0, 16) + rig.grid().textMatrix(16, 0), "FF");
    EXPECT_EQ(rig.grid().colWidth(16), kSpaltenBreite);
    EXPECT_GE(rig.grid().breite(), kKopfSpaltenBreite + 16 * kSpaltenBreite) << "all columns fit";
    EXPECT_GE(rig.grid().hoehe(), 17 * rig.grid().rowHeight());
    rig.p.hexDump.Grid1_SelChange(16, 16);
    rig.kurz(0x0D, 0x4C);
    EXPECT_TRUE(rig.grid().rows() == 2 && rig.grid().row() == 1) << "a new layout selects the first cell";
    EXPECT_TRUE(rig.zelle(2) == "4C" && rig.p.hexDump.HexZelle(16) == -1);

    const Bytes lang = link::langeNutzdaten({0x0D}, 0, folge(256, 0));
    unsigned vorher = rig.geschrieben();
    rig.sende(link::langTelegramm(lang));
    EXPECT_EQ(rig.zelle(0x12) + rig.zelle(0xE0), "12D") << "a data byte and the status block";
    EXPECT_EQ(rig.geschrieben() - vorher, 16u + 16u + 256u) << "headers, row numbers, cells";
    vorher = rig.geschrieben();
    rig.sende(link::langTelegramm(lang));
    EXPECT_EQ(rig.geschrieben(), vorher);
    Bytes geaendert = lang;
    geaendert[0x12] = 0x4C;
    geaendert[0xFF] = 0;
    std::vector<std::pair<int, int>> zellen;
    rig.p.hexDump.controls().Grid1.setZellenListener([&](int r, int k) { zellen.emplace_back(r, k); });
    rig.sende(link::langTelegramm(geaendert));
    EXPECT_EQ(zellen, (std::vector<std::pair<int, int>>{{2, 3}, {16, 16}}));
    // Back to one row: all sixteen cells are written although bytes 0..15 did not change.
    vorher = rig.geschrieben();
    rig.sende(link::kurzTelegramm({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_TRUE(rig.geschrieben() - vorher == 16u + 1u + 16u && rig.p.hexDump.HexZelle(0x12) == -1);

    // Printing this window or the main window: a cancelled dialog is no failure, a failure is reported.
    rig.printer.ergebnis = ports::DruckErgebnis::Abgebrochen;
    rig.p.hexDump.cmdHexDumpDrucken_Click();
    rig.printer.ergebnis = ports::DruckErgebnis::Fehler;
    rig.p.hexDump.cmdHexDumpDrucken_Click();
    rig.state.einstellungen.SprachOffset = 10000;
    rig.p.mnuPrint_Click();
    ASSERT_EQ(rig.printer.auftraege.size(), 3u);
    EXPECT_EQ(rig.printer.auftraege[1].inhalt + rig.printer.auftraege[2].inhalt, "frmHexDumpfrmKrvDiag");
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].text + "|" + rig.dialogs.boxes[1].text,
              "Die Form kann nicht gedruckt werden.|It's not possible to print");
}

TEST(HexDumpFenster, FormatSwitchSelectedCellAndATelegramCutFromTheBuffer) {
    HexDumpRig rig;
    HexDumpFenster& f = rig.p.hexDump;
    const app::Control& zeile = f.controls().lblZellenInhalt;
    f.Grid1_SelChange(3, 4);
    EXPECT_EQ(zeile.caption(), "") << "nothing filled yet";
    Bytes daten = folge(256, 0xF0);
    daten[0x12] = 0x4C;
    rig.puffer(daten, 256);
    f.Anzeige(0);
    // {row, column, line}: a header is no data cell and leaves the line.
    for (const auto& [r, k, text] : {std::tuple{2, 3, "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100"},
                                     {0, 0, "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100"},
                                     {16, 16, "Adr.: FF  ASC: 239  Hex: EF  Bin: 11101111"},
                                     {1, 2, "Adr.: 1  ASC: 241  Hex: F1  Bin: 11110001"}}) {
        f.Grid1_SelChange(r, k);
        EXPECT_EQ(zeile.caption(), text) << r << " " << k;
    }
    EXPECT_EQ(rig.gemeldet.count("lblZellenInhalt"), 1u) << "the window hears of the line";
    const unsigned vorher = rig.geschrieben();
    for (int format : {1, 0, 1, 2}) {  // 2 is no format
        f.optHexDumpDisplay_Click(format);
        EXPECT_EQ(rig.wert("Einstellungen", "HexDumpDisplay"), format ? "1" : "0");
        EXPECT_EQ(rig.state.einstellungen.HexDumpAnzeige, format ? 1 : 0);
        EXPECT_TRUE(f.controls().optHexDumpDisplay[1].checked() == (format > 0) &&
                    f.controls().optHexDumpDisplay[0].checked() == (format == 0));
        EXPECT_EQ(rig.zelle(0), format ? "F0" : "240");
    }
    EXPECT_EQ(rig.geschrieben() - vorher, 3 * 256u) << "every cell, each time";
    // The buffer limit cut the telegram after its data byte 9: the redraw keeps what the other
    // cells show, and the selection stays where it was.
    rig.puffer(Bytes(daten.begin(), daten.begin() + 10), 256);
    f.optHexDumpDisplay_Click(0);
    EXPECT_EQ(rig.zelle(9) + "|" + rig.zelle(10), "249|FA");
    EXPECT_TRUE(f.HexZelle(9) == 0xF9 && f.HexZelle(10) == -1);
    EXPECT_TRUE(rig.grid().row() == 1 && rig.grid().col() == 2);
    // An empty buffer or no telegram shows nothing and keeps the layout.
    rig.receive().reset();
    rig.receive().DatenLaenge = 16;
    f.Anzeige(1);
    rig.puffer(daten, 0);
    f.Anzeige(0);
    EXPECT_TRUE(rig.grid().rows() == 17 && f.HexZelle(0) == -1);
}

TEST(HexDumpModi, MenuCloseBoxAndProgramUnloadSetTheModeAndTheWindow) {
    // {menu item 0..3, 4 close box, 5 unloaded by the program; loaded and shown; loaded anew; in
    // front; stored; checked items a bit each, after the close box only the chosen one counts}
    const std::tuple<int, bool, bool, bool, const char*, unsigned> schritte[] = {
        {0, false, false, false, "fehlt", 0b001}, {1, true, true, false, "1", 0b010},
        {1, true, false, false, "1", 0b010}, {2, true, true, true, "2", 0b100},
        {4, false, false, false, "0", 0b100}, {1, true, true, false, "1", 0b010},
        {5, false, false, false, "1", 0b010}, {0, false, false, false, "0", 0b001},
        {3, false, false, false, "0", 0b001}};
    HexDumpRig rig;
    for (std::size_t n = 0; n < std::size(schritte); ++n) {
        const auto& [aktion, geladen, neu, vorne, gespeichert, haken] = schritte[n];
        rig.kurz(0x0D, 3);  // a window that stays in use shows the telegram before the step
        if (aktion < 4) rig.p.mnuHexDumpAuswahl_Click(aktion);
        if (aktion == 4) rig.p.hexDump.Schliessfeld();
        if (aktion == 5) rig.p.hexDump.Form_QueryUnload(kUnloadCode);
        if (aktion == 5) rig.p.hexDump.Unload();
        EXPECT_TRUE(rig.p.hexDump.geladen() == geladen && rig.p.hexDump.sichtbar() == geladen) << n;
        EXPECT_EQ(rig.p.hexDump.controls().frmHexDump.caption().empty(), !geladen) << n;
        EXPECT_TRUE(geladen || rig.grid().rows() == 2) << n << ": unloaded, the grid is as designed";
        EXPECT_EQ(rig.p.hexDump.HexZelle(2), geladen && !neu ? 3 : -1) << n;
        EXPECT_EQ(rig.p.hexDump.imVordergrund(), vorne) << n;
        EXPECT_EQ(rig.wert("Einstellungen", "HexDump"), gespeichert) << n;
        EXPECT_EQ(std::to_string(rig.state.einstellungen.HexDumpModus), n ? gespeichert : "0") << n;
        for (std::size_t i = 0; i < 3; ++i) {
            const bool an = haken >> i & 1;
            EXPECT_TRUE((n >= 5 && !an) || rig.c.mnuHexDumpAuswahl[i].checked() == an) << n << " " << i;
        }
    }
}

}  // namespace
}  // namespace krv::hexdump
