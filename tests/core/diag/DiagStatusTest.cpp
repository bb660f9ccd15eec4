#include "core/diag/DiagStatus.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/link/TelegramBuilder.hpp"

namespace krv::diag {
namespace {

using link::StatusBlock;

constexpr int kEnglisch = 10000;
// Value label indices in window order (11 does not exist).
const std::vector<int> kLabels = [] {
    std::vector<int> v;
    for (int i = 0; i < 30; ++i)
        if (i != 11) v.push_back(i);
    return v;
}();

// The receive buffer as the framing leaves it: some bytes before the telegram, DatenStart on
// payload byte 0.
link::ReceiveState empfangen(std::uint8_t kind, ByteView payload) {
    link::ReceiveState s;
    const Bytes vorher{0x55, 0xAA, 0x00};
    s.EmpfangsString.append(vorher);
    s.EmpfangsString.append(link::telegramm(kind, payload));
    s.DatenStart = vorher.size() + 3;
    s.DatenLaenge = payload.size();
    return s;
}

struct Rig {
    app::ProgramState state;
    app::MainFormState controls;
    DiagStatus status{state, controls};

    Rig() { setzeStatusfensterEntwurf(controls); }

    void kurz(const StatusBlock& block) { status.AnzeigeDiagStatus(empfangen('1', block)); }
    void lang(const StatusBlock& block, std::uint32_t zyklen) {
        status.AnzeigeDiagStatus(empfangen('2', link::langeNutzdaten(block, zyklen)));
    }
    const app::Control& wert(int i) { return controls.lblDiagStatusWert[static_cast<std::size_t>(i)]; }
    std::string text(int i) { return wert(i).caption(); }
    std::vector<std::string> alleWerte() {
        std::vector<std::string> v;
        for (int i : kLabels) v.push_back(text(i));
        return v;
    }
    std::vector<unsigned> aenderungen() {
        std::vector<unsigned> v;
        for (int i : kLabels) v.push_back(wert(i).changes());
        return v;
    }
    std::vector<int> geaenderteLabels(const std::vector<unsigned>& vorher) {
        std::vector<int> v;
        const auto nachher = aenderungen();
        for (std::size_t n = 0; n < kLabels.size(); ++n)
            if (nachher[n] != vorher[n]) v.push_back(kLabels[n]);
        return v;
    }
};

StatusBlock block(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
    StatusBlock b{};
    for (const auto& [k, v] : bytes) b[static_cast<std::size_t>(k)] = v;
    return b;
}

// ---------------------------------------------------------------------------------------------
// Status texts across models and languages.

TEST(DiagStatusTexte, InitLoadsCaptionsInTheLanguageAndBlanksEveryValue) {
    Rig rig;
    rig.state.HardwareTyp = 1;
    rig.kurz(block({{0, 1}, {7, 123}}));
    ASSERT_EQ(rig.text(0), " 1.23");

    rig.state.einstellungen.SprachOffset = kEnglisch;
    rig.status.InitDiagStatusText();
    const auto& t = rig.controls.lblDiagStatusText;
    EXPECT_EQ(t[0].caption(), "Program version:  ");
    EXPECT_EQ(t[13].caption(), "S3: ");
    EXPECT_EQ(t[20].caption(), "EDM - mode:  ");
    EXPECT_EQ(t[23].caption(), "relay zyklen: ");
    EXPECT_EQ(t[29].caption(), "muting mode:  ");
    EXPECT_EQ(t[11].caption(), "");
    for (int i : kLabels) EXPECT_EQ(rig.text(i), "") << i;
    // The remembered bytes survive: only a reset of StatusInitialisiert forgets them.
    EXPECT_EQ(rig.status.AlterStatus(7), 123);

    rig.state.einstellungen.SprachOffset = 0;
    rig.status.InitDiagStatusText();
    EXPECT_EQ(t[4].caption(), " ");
    EXPECT_EQ(t[21].caption(), "Rückf. Überw.:  ");
    EXPECT_EQ(t[26].caption(), "Zeitüberw. (Takt):  ");
    EXPECT_EQ(t[24].caption(), "Start Test Emulation:  ");
}

TEST(DiagStatusTexte, RelayExtensionModelWithoutMutingInGerman) {
    Rig rig;
    rig.state.HardwareTyp = 5;  // KRV-bx/Rx
    rig.kurz(block({{0, 0x05}, {7, 0x76}, {8, 0x11}, {9, 0x5A}, {10, 0x55}, {11, 0xE4}, {12, 0x1B}, {13, 0x5A},
                    {14, 0x46}, {15, 0x10}}));
    const std::vector<std::string> erwartet{
        " 1.18", "", "", "", "", "4 electr.", "4 electr.", "n.c.", "standard", "4 relais", "testbar",  // 0..10
        "", "4 electr.", "4 electr.", "2 electr.", "4 relais", "4 electr.", "n.c.",                  // 12..18
        "ohne", "statisch", "mit", "500k", " 278k", "nein", "--", "30 sek.", "--", "--", "--"};     // 19..29
    EXPECT_EQ(rig.alleWerte(), erwartet);
}

TEST(DiagStatusTexte, MutingFamilyCbInEnglish) {
    Rig rig;
    rig.state.einstellungen.SprachOffset = kEnglisch;
    rig.state.HardwareTyp = 12;  // KRV-cb/R
    rig.kurz(block({{0, 0x0C}, {7, 0x74}, {10, 0x00}, {11, 0x00}, {12, 0xFF}, {13, 0x21}, {14, 0x0A}, {15, 0x33}}));
    const std::vector<std::string> erwartet{
        " 1.16", "", "", "", "", "n.c.", "n.c.", "n.c.", "n.c.", "n.c.", "n.c.",
        "", "n.c.", "n.c.", "2 electr.", "2 electr.", "2 electr.", "2 electr.",
        "with", "dynamic", "without", "--", "--", "no", "no", "30 min.", "with", "without", "single"};
    EXPECT_EQ(rig.alleWerte(), erwartet);
}

TEST(DiagStatusTexte, MutingFamilyCWithoutTimeMonitoringTextsInGerman) {
    Rig rig;
    rig.state.HardwareTyp = 8;  // KRV-c/R: base code "c" has no time monitoring texts
    rig.kurz(block({{0, 0x08}, {7, 0x74}, {13, 0x31}, {14, 0x0C}}));
    EXPECT_EQ(rig.text(19), "mit");
    EXPECT_EQ(rig.text(22), "--");
    EXPECT_EQ(rig.text(23), "--");
    EXPECT_EQ(rig.text(24), "nein");
    EXPECT_EQ(rig.text(25), "ja");
    EXPECT_EQ(rig.text(26), "--");
    EXPECT_EQ(rig.text(27), "ohne");
    EXPECT_EQ(rig.text(28), "10 min.");
    EXPECT_EQ(rig.text(29), "einfach");
}

TEST(DiagStatusTexte, ProgramVersionIsShownWithTwoDecimalsAfterABlank) {
    for (const auto& [v, text] : std::vector<std::pair<int, std::string>>{{5, " 0.05"}, {7, " 0.07"}, {200, " 2.00"},
                                                                          {255, " 2.55"}, {110, " 1.10"}}) {
        Rig rig;
        rig.kurz(block({{7, static_cast<std::uint8_t>(v)}}));
        EXPECT_EQ(rig.text(0), text) << v;
    }
}

TEST(DiagStatusTexte, RelayPrewarningOnlyForRelayExtensionModels) {
    const std::vector<std::string> stufen{"100k", "200k", "500k", "1000k"};
    for (int code = 0; code < 4; ++code) {
        for (int m : {1, 5, 9, 13}) {
            Rig rig;
            rig.state.HardwareTyp = static_cast<std::uint8_t>(m);
            rig.kurz(block({{0, static_cast<std::uint8_t>(m)}, {13, static_cast<std::uint8_t>(code << 2)}}));
            EXPECT_EQ(rig.text(22), stufen[static_cast<std::size_t>(code)]) << m << " " << code;
        }
        for (int m : {0, 3, 7, 11, 15}) {
            Rig rig;
            rig.state.HardwareTyp = static_cast<std::uint8_t>(m);
            rig.kurz(block({{13, static_cast<std::uint8_t>(code << 2)}}));
            EXPECT_EQ(rig.text(22), "--") << m;
        }
    }
}

TEST(DiagStatusTexte, StartTestEmulationNeedsBit5WithoutRestartInterlock) {
    const std::vector<std::pair<std::uint8_t, std::string>> faelle{
        {0x21, "nein"}, {0x20, "ja"}, {0x01, "nein"}, {0x00, "nein"}};
    for (const auto& [b13, text] : faelle) {
        Rig rig;
        rig.kurz(block({{13, b13}}));
        EXPECT_EQ(rig.text(24), text) << int(b13);
    }
}

TEST(DiagStatusTexte, MutingRestartByFamilyVersionAndBits) {
    struct Fall {
        int modell;
        std::uint8_t version;
        std::uint8_t b13;
        const char* text;
    };
    const std::vector<Fall> faelle{
        {4, 0x74, 0x01, "--"},   {0, 0x10, 0x21, "--"},   {8, 0x50, 0x00, "nein"}, {12, 0x50, 0x20, "nein"},
        {8, 0x71, 0x01, "ja"},   {12, 0x71, 0x01, "ja"},  {8, 0x72, 0x01, "ja"},   {12, 0x72, 0x01, "nein"},
        {8, 0x74, 0x01, "ja"},   {12, 0x74, 0x01, "nein"}, {10, 0x75, 0x01, "ja"}, {15, 0x75, 0x21, "nein"},
        {8, 0x76, 0x01, "nein"}, {8, 0x76, 0x21, "ja"},   {12, 0x76, 0x21, "nein"}, {9, 0xFF, 0x21, "ja"},
    };
    for (const Fall& f : faelle) {
        Rig rig;
        rig.state.HardwareTyp = static_cast<std::uint8_t>(f.modell);
        rig.kurz(block({{7, f.version}, {13, f.b13}}));
        EXPECT_EQ(rig.text(25), f.text) << f.modell << " v=" << int(f.version) << " b13=" << int(f.b13);
    }
}

TEST(DiagStatusTexte, MutingRestartIsOnlyReevaluatedWhenItsBitsChange) {
    Rig rig;
    rig.state.HardwareTyp = 12;
    rig.kurz(block({{7, 0x71}, {13, 0x21}}));
    ASSERT_EQ(rig.text(25), "ja");
    // A newer version alone would give "nein", but byte 13 did not change.
    rig.kurz(block({{7, 0x76}, {13, 0x21}}));
    EXPECT_EQ(rig.text(0), " 1.18");
    EXPECT_EQ(rig.text(25), "ja");
}

TEST(DiagStatusTexte, MutingSettingsByModel) {
    struct Fall {
        int modell;
        std::uint8_t b14;
        const char* sensortest;
        const char* zeit;
        const char* art;
    };
    const std::vector<Fall> faelle{
        {9, 0x00, "ohne", "ohne", "doppel"},  {11, 0x06, "mit", "10 min.", "doppel"},
        {8, 0x00, "ohne", "ohne", "kein"},    {14, 0x02, "mit", "ohne", "kein"},
        {13, 0x08, "ohne", "ohne", "einfach"}, {9, 0x08, "ohne", "ohne", "einfach"},
        {3, 0x0E, "--", "--", "--"},          {3, 0x00, "--", "--", "--"},
    };
    for (const Fall& f : faelle) {
        Rig rig;
        rig.state.HardwareTyp = static_cast<std::uint8_t>(f.modell);
        rig.kurz(block({{14, f.b14}}));
        EXPECT_EQ(rig.text(27), f.sensortest) << f.modell;
        EXPECT_EQ(rig.text(28), f.zeit) << f.modell;
        EXPECT_EQ(rig.text(29), f.art) << f.modell;
    }
}

TEST(DiagStatusTexte, ReleaseValueOnlyInServiceMode1) {
    Rig rig;
    rig.kurz(block({{8, 0xE8}}));
    EXPECT_EQ(rig.text(1), "");
    EXPECT_EQ(rig.status.AlterStatus(8), DiagStatus::kNieAngezeigt);

    // Entering service mode shows the unchanged byte at once: it was never remembered.
    rig.state.ServiceModus1 = true;
    rig.kurz(block({{8, 0xE8}}));
    EXPECT_EQ(rig.text(1), "232");

    // Leaving service mode keeps the last text until the next initialisation.
    rig.state.ServiceModus1 = false;
    rig.kurz(block({{8, 0x07}}));
    EXPECT_EQ(rig.text(1), "232");
}

// ---------------------------------------------------------------------------------------------
// Input types and their red "n.c." background.

TEST(DiagStatusEingangstyp, NotConnectedIsOpaqueRedEveryOtherTypeTransparent) {
    Rig rig;
    rig.kurz(block({{10, 0x00}, {11, 0x55}, {12, 0x00}}));
    for (int i : {5, 6, 13, 14, 15, 16, 17, 18}) {
        EXPECT_EQ(rig.text(i), "n.c.") << i;
        EXPECT_TRUE(rig.wert(i).opaque()) << i;
        EXPECT_EQ(rig.wert(i).colour(), 0x0000FFu) << i;
    }
    for (int i : {7, 8, 9, 10}) {
        EXPECT_EQ(rig.text(i), "standard") << i;
        EXPECT_FALSE(rig.wert(i).opaque()) << i;
    }
    // Labels that never show an input type stay transparent.
    for (int i : {0, 1, 2, 3, 4, 12, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}) EXPECT_FALSE(rig.wert(i).opaque()) << i;

    rig.kurz(block({{10, 0x55}, {11, 0x55}, {12, 0x00}}));
    for (int i : {5, 6, 13, 14}) {
        EXPECT_EQ(rig.text(i), "4 electr.") << i;
        EXPECT_FALSE(rig.wert(i).opaque()) << i;
    }
}

TEST(DiagStatusEingangstyp, MutingInputsUseTheirOwnTable) {
    Rig rig;
    rig.state.einstellungen.SprachOffset = kEnglisch;
    rig.kurz(block({{11, 0xE4}}));
    EXPECT_EQ(rig.text(7), "n.c.");
    EXPECT_TRUE(rig.wert(7).opaque());
    EXPECT_EQ(rig.text(8), "standard");
    EXPECT_EQ(rig.text(9), "4 relais");
    EXPECT_EQ(rig.text(10), "testable");
    EXPECT_FALSE(rig.wert(10).opaque());
}

TEST(DiagStatusEingangstyp, DesignStateOfTheStatusWindow) {
    Rig rig;  // the rig applies the design state
    const auto& t = rig.controls.lblDiagStatusText;
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(t[static_cast<std::size_t>(i)].colour(), 0xFFFFFFu) << i;
    for (int i = 12; i <= 29; ++i) EXPECT_EQ(t[static_cast<std::size_t>(i)].colour(), 0x80FF80u) << i;
    for (int i : kLabels) {
        EXPECT_EQ(rig.wert(i).colour(), 0x0000FFu) << i;
        EXPECT_FALSE(rig.wert(i).opaque()) << i;
    }
}

// ---------------------------------------------------------------------------------------------
// Only changed fields are written.

TEST(DiagStatusAenderung, AnIdenticalTelegramWritesNoLabel) {
    Rig rig;
    rig.state.HardwareTyp = 13;
    rig.state.ServiceModus1 = rig.state.ServiceModus2 = true;
    const StatusBlock b = block({{0, 13}, {7, 0x80}, {8, 3}, {9, 0x21}, {10, 0x1B}, {11, 0x4E}, {12, 0xC6},
                                 {13, 0x7F}, {14, 0xCE}, {15, 0x99}});
    rig.kurz(b);
    const auto vorher = rig.aenderungen();
    rig.kurz(b);
    EXPECT_EQ(rig.geaenderteLabels(vorher), std::vector<int>{});
    rig.lang(b, 4711);
    const auto nachLang = rig.aenderungen();
    rig.lang(b, 4711);
    EXPECT_EQ(rig.geaenderteLabels(nachLang), std::vector<int>{});
}

TEST(DiagStatusAenderung, OnlyTheFieldsBehindChangedBitsAreWritten) {
    Rig rig;
    rig.state.HardwareTyp = 9;
    rig.kurz(block({{10, 0x55}, {13, 0x00}}));

    auto vorher = rig.aenderungen();
    rig.kurz(block({{10, 0x54}, {13, 0x00}}));  // S1 only
    EXPECT_EQ(rig.geaenderteLabels(vorher), std::vector<int>{5});
    EXPECT_TRUE(rig.wert(5).opaque());

    vorher = rig.aenderungen();
    rig.kurz(block({{10, 0x54}, {13, 0x80}}));  // bit 7 of byte 13 has no display
    EXPECT_EQ(rig.geaenderteLabels(vorher), std::vector<int>{});

    vorher = rig.aenderungen();
    rig.kurz(block({{10, 0x54}, {13, 0xA0}}));  // start test bit: labels 24 and 25 re-evaluated
    EXPECT_EQ(rig.text(24), "ja");
    EXPECT_EQ(rig.geaenderteLabels(vorher), std::vector<int>{24});  // 25 stays "nein"
    EXPECT_EQ(rig.text(25), "nein");
}

TEST(DiagStatusAenderung, NoTelegramOnlyInitialises) {
    Rig rig;
    link::ReceiveState leer;
    rig.status.AnzeigeDiagStatus(leer);
    EXPECT_TRUE(rig.state.StatusInitialisiert);
    EXPECT_EQ(rig.controls.lblDiagStatusText[0].caption(), "Programm Version:  ");
    for (int i : kLabels) EXPECT_EQ(rig.text(i), "") << i;
    EXPECT_EQ(rig.status.AlterStatus(7), DiagStatus::kNieAngezeigt);
}

// ---------------------------------------------------------------------------------------------
// Relay cycle number.

TEST(DiagStatusRelaisZyklen, ShortTelegramCountsThousandsFromTenBits) {
    const std::vector<std::tuple<std::uint8_t, std::uint8_t, std::string>> faelle{
        {0xC0, 0xFF, " 1047k"}, {0x00, 0x00, " 0k"}, {0x3F, 0x7D, " 128k"}, {0x40, 0x10, " 278k"}, {0x80, 0x00, " 524k"}};
    for (const auto& [b14, b15, text] : faelle) {
        Rig rig;
        rig.state.HardwareTyp = 1;
        rig.kurz(block({{14, b14}, {15, b15}}));
        EXPECT_EQ(rig.text(23), text) << int(b14) << " " << int(b15);
    }
    Rig ohne;
    ohne.kurz(block({{14, 0xC0}, {15, 0xFF}}));
    EXPECT_EQ(ohne.text(23), "--");
}

TEST(DiagStatusRelaisZyklen, LongTelegramCarries24BitCountAndStatusAtItsEnd) {
    Rig rig;
    rig.state.HardwareTyp = 5;
    // Bytes 14/15 of the block must not feed the count of a long telegram.
    StatusBlock b = block({{0, 5}, {7, 0x64}, {10, 0x03}, {14, 0xC0}, {15, 0xFF}});
    rig.lang(b, 0x01E240);
    EXPECT_EQ(rig.text(23), " 123456");
    EXPECT_EQ(rig.text(0), " 1.00");
    EXPECT_EQ(rig.text(5), "2 electr.");
    EXPECT_EQ(rig.status.AlteRelaisZyklen(), 123456);

    // A count change alone, with the same status block, is shown.
    rig.lang(b, 0xFFFFFF);
    EXPECT_EQ(rig.text(23), " 16777215");
}

TEST(DiagStatusRelaisZyklen, SuppressedWhileCpuErrorIsShownAndCaughtUpAfterwards) {
    Rig rig;
    rig.state.HardwareTyp = 9;
    rig.kurz(block({{0, 9}, {15, 0}}));
    ASSERT_EQ(rig.text(23), " 0k");

    // Byte 15 now carries the error number.
    rig.state.CpuFehlerAktiv = true;
    const unsigned vorher = rig.wert(23).changes();
    rig.kurz(block({{0, 0x19}, {15, 100}}));
    EXPECT_EQ(rig.text(23), " 0k");
    EXPECT_EQ(rig.wert(23).changes(), vorher);
    EXPECT_EQ(rig.status.AlteRelaisZyklen(), 0);

    // The same byte 15 after the error cleared: the remembered number was kept, so it shows.
    rig.state.CpuFehlerAktiv = false;
    rig.kurz(block({{0, 9}, {15, 100}}));
    EXPECT_EQ(rig.text(23), " 102k");
}

TEST(DiagStatusRelaisZyklen, ModelsWithoutRelayExtensionShowDashesEvenDuringACpuError) {
    Rig rig;
    rig.state.HardwareTyp = 4;
    rig.state.CpuFehlerAktiv = true;
    rig.kurz(block({{0, 0x14}, {15, 7}}));
    EXPECT_EQ(rig.text(23), "--");
}

// ---------------------------------------------------------------------------------------------
// Muting mode and the muting values of service mode 2.

TEST(DiagStatusMuting, ServiceMode2ShowsTwoNibblesForDoubleMuting) {
    Rig rig;
    rig.state.HardwareTyp = 9;
    rig.state.ServiceModus2 = true;
    rig.kurz(block({{9, 0x5A}, {14, 0x00}}));
    EXPECT_EQ(rig.text(29), "doppel");
    EXPECT_EQ(rig.text(2), "5");
    EXPECT_EQ(rig.text(3), "10");
}

TEST(DiagStatusMuting, ServiceMode2ShowsOneByteForSingleMuting) {
    Rig rig;
    rig.state.HardwareTyp = 13;
    rig.state.ServiceModus2 = true;
    rig.kurz(block({{9, 0x5A}, {14, 0x08}}));
    EXPECT_EQ(rig.text(29), "einfach");
    EXPECT_EQ(rig.text(2), "90");
    EXPECT_EQ(rig.text(3), "0");

    // Byte 9 alone changing rewrites the values.
    rig.kurz(block({{9, 0xFF}, {14, 0x08}}));
    EXPECT_EQ(rig.text(2), "255");
}

TEST(DiagStatusMuting, WithoutServiceMode2TheValuesStayEmptyAndUnremembered) {
    Rig rig;
    rig.state.HardwareTyp = 9;
    rig.kurz(block({{9, 0x5A}}));
    EXPECT_EQ(rig.text(2), "");
    EXPECT_EQ(rig.text(3), "");
    EXPECT_EQ(rig.status.AlterStatus(9), DiagStatus::kNieAngezeigt);

    const auto vorher = rig.aenderungen();
    rig.kurz(block({{9, 0x33}}));
    EXPECT_EQ(rig.geaenderteLabels(vorher), std::vector<int>{});

    // Service mode entered: the unchanged telegram now shows the values.
    rig.state.ServiceModus2 = true;
    rig.kurz(block({{9, 0x33}}));
    EXPECT_EQ(rig.text(2), "3");
    EXPECT_EQ(rig.text(3), "3");

    // Service mode left: the texts stay although byte 9 changes.
    rig.state.ServiceModus2 = false;
    rig.kurz(block({{9, 0x12}}));
    EXPECT_EQ(rig.text(2), "3");
}

TEST(DiagStatusMuting, ModelsWithoutMutingStillShowTheValuesInServiceMode2) {
    Rig rig;
    rig.state.HardwareTyp = 2;
    rig.state.ServiceModus2 = true;
    rig.kurz(block({{9, 0x84}, {14, 0x53}}));
    EXPECT_EQ(rig.text(29), "--");
    EXPECT_EQ(rig.text(2), "8");
    EXPECT_EQ(rig.text(3), "4");
}

// ---------------------------------------------------------------------------------------------
// Re-initialisation.

TEST(DiagStatusInit, ResetOfStatusInitialisiertRewritesEverythingInTheNewLanguageAndModel) {
    Rig rig;
    rig.state.HardwareTyp = 0;
    const StatusBlock b = block({{7, 42}, {13, 0x13}});
    rig.kurz(b);
    EXPECT_EQ(rig.text(19), "mit");
    EXPECT_EQ(rig.text(26), "--");

    // A language change alone blanks the values; an identical telegram does not refill them.
    rig.state.einstellungen.SprachOffset = kEnglisch;
    rig.status.InitDiagStatusText();
    rig.kurz(b);
    EXPECT_EQ(rig.text(19), "");
    EXPECT_EQ(rig.controls.lblDiagStatusText[19].caption(), "restart-interlock:  ");

    // The display invalidation that follows such events, here with a model change.
    rig.state.StatusInitialisiert = false;
    rig.state.HardwareTyp = 6;
    rig.kurz(b);
    EXPECT_TRUE(rig.state.StatusInitialisiert);
    EXPECT_EQ(rig.text(0), " 0.42");
    EXPECT_EQ(rig.text(19), "with");
    EXPECT_EQ(rig.text(21), "with");
    EXPECT_EQ(rig.text(26), "30 sec.");
    EXPECT_EQ(rig.text(24), "no");
}

TEST(DiagStatusInit, ModelCodeOutsideTheCatalogueHasNoTimeMonitoringTexts) {
    Rig rig;
    rig.state.HardwareTyp = 0x14;  // only a nibble reaches this normally
    rig.kurz(block({{13, 0x10}}));
    EXPECT_EQ(rig.text(26), "--");
}

// ---------------------------------------------------------------------------------------------
// The worked examples of the command-line contract: every "status" line after a "display" line.

struct Beispiel {
    std::vector<std::pair<Bytes, std::map<int, std::pair<std::string, bool>>>> telegramme;
};

Bytes hexBytes(const std::string& hex) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) b.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return b;
}

std::map<int, std::pair<std::string, bool>> statusZeile(const std::string& line) {
    std::map<int, std::pair<std::string, bool>> werte;
    std::size_t p = std::string("status ").size();
    while (p < line.size()) {
        const std::size_t gleich = line.find("=\"", p);
        const std::size_t ende = line.find('"', gleich + 2);
        const int i = std::stoi(line.substr(p, gleich - p));
        std::string text = line.substr(gleich + 2, ende - gleich - 2);
        p = ende + 1;
        const bool opak = p < line.size() && line[p] == '*';
        if (opak) ++p;
        werte[i] = {text, opak};
        ++p;  // blank
    }
    return werte;
}

Beispiel leseBeispiel(const std::string& name) {
    std::ifstream in(std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/" + name + ".out");
    EXPECT_TRUE(in) << name;
    Beispiel b;
    std::string line;
    Bytes payload;
    while (std::getline(in, line)) {
        if (line.rfind("display ", 0) == 0) payload = hexBytes(line.substr(line.rfind(' ') + 1));
        if (line.rfind("status ", 0) == 0) b.telegramme.emplace_back(payload, statusZeile(line));
    }
    return b;
}

// The parts of the display path that decide what the status decoder sees: the model switch
// (which resets StatusInitialisiert and the CPU error flag) and the CPU error decision.
void zeigeWieDasFenster(Rig& rig, const Bytes& payload) {
    const std::uint8_t byte0 = payload.size() == 256 ? payload[224] : payload[0];
    rig.state.HardwareTyp = byte0 & 0x0F;
    if (rig.state.HardwareIndex != rig.state.HardwareTyp || rig.state.AnzeigeGueltig == 0) {
        rig.state.HardwareIndex = rig.state.HardwareTyp;
        rig.state.CpuFehlerAktiv = false;
        rig.state.StatusInitialisiert = false;
    }
    rig.state.CpuFehlerAktiv = (byte0 & 0x10) != 0;
    rig.status.AnzeigeDiagStatus(empfangen(payload.size() == 256 ? '2' : '1', payload));
    rig.state.AnzeigeGueltig = 1;
}

void pruefeBeispiel(const std::string& name, int sprache, bool service) {
    const Beispiel b = leseBeispiel(name);
    ASSERT_FALSE(b.telegramme.empty());
    Rig rig;
    rig.state.einstellungen.SprachOffset = sprache;
    rig.state.ServiceModus1 = rig.state.ServiceModus2 = rig.state.ServiceModus3 = service;
    int n = 0;
    for (const auto& [payload, erwartet] : b.telegramme) {
        ++n;
        zeigeWieDasFenster(rig, payload);
        ASSERT_EQ(erwartet.size(), kLabels.size()) << name << " telegram " << n;
        for (int i : kLabels) {
            const auto it = erwartet.find(i);
            ASSERT_NE(it, erwartet.end()) << i;
            EXPECT_EQ(rig.text(i), it->second.first) << name << " telegram " << n << " label " << i;
            EXPECT_EQ(rig.wert(i).opaque(), it->second.second) << name << " telegram " << n << " label " << i;
        }
    }
}

TEST(DiagStatusBeispiel, EnglishInServiceMode) { pruefeBeispiel("show-english-service", kEnglisch, true); }

TEST(DiagStatusBeispiel, Model9WithCpuError) { pruefeBeispiel("show-model9-cpu-error", 0, false); }

}  // namespace
}  // namespace krv::diag
