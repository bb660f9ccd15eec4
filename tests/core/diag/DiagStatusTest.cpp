// The status window: the value texts decoded from real telegrams, one row per case, and the
// rule that only the labels behind changed bits are written.
#include "core/diag/DiagStatus.hpp"

#include <gtest/gtest.h>

#include "support/DiagRig.hpp"

namespace krv::diag {
namespace {

using test::block;

struct Rig {
    app::ProgramState state;
    app::MainFormState controls;
    DiagStatus status{state, controls};
    Rig() { setzeStatusfensterEntwurf(controls); }

    void zeige(const link::StatusBlock& b, bool lang = false, std::uint32_t zyklen = 0) {
        status.AnzeigeDiagStatus(test::empfangen(b, lang, zyklen));
    }
    const app::Control& wert(int i) const { return controls.lblDiagStatusWert[static_cast<std::size_t>(i)]; }
    // Shows a long telegram and returns the labels whose text changed.
    std::vector<int> geschrieben(const link::StatusBlock& b) {
        std::vector<unsigned> vorher;
        for (int i = 0; i < kStatusLabelAnzahl; ++i) vorher.push_back(wert(i).changes());
        zeige(b, true, 4711);
        std::vector<int> v;
        for (int i = 0; i < kStatusLabelAnzahl; ++i) {
            if (wert(i).changes() != vorher[static_cast<std::size_t>(i)]) v.push_back(i);
        }
        return v;
    }
};

// "label=text|..." for the labels named in `muster`, as the window shows them.
std::string werte(const Rig& rig, const std::string& muster) {
    std::string s;
    for (std::size_t p = 0; p < muster.size(); p = std::min(muster.find('|', p), muster.size()) + 1) {
        const int label = std::stoi(muster.substr(p));
        s += p ? "|" : "";
        s += std::to_string(label) + "=" + rig.wert(label).caption();
    }
    return s;
}

enum : int { S1 = 1, S2 = 2, Cpu = 4, En = 8, Lang = 16 };

TEST(DiagStatusWerte, DecodedFromOneTelegram) {
    const struct {
        int modell, flags;
        link::StatusBlock b;
        std::string werte;
    } tabelle[] = {
        {5, 0, block({{7, 0x76}, {8, 0x11}, {9, 0x5A}, {10, 0x55}, {11, 0xE4}, {12, 0x1B}, {13, 0x5A},
                      {14, 0x46}, {15, 0x10}}),
         "0= 1.18|1=|2=|5=4 electr.|6=4 electr.|7=n.c.|8=standard|9=4 relais|10=testbar|13=4 electr."
         "|14=4 electr.|15=2 electr.|16=4 relais|17=4 electr.|18=n.c.|19=ohne|20=statisch|21=mit|22=500k"
         "|23= 278k|24=nein|25=--|26=30 sek.|27=--|28=--|29=--"},
        {12, En, block({{7, 0x74}, {12, 0xFF}, {13, 0x21}, {14, 0x0A}, {15, 0x33}}),
         "0= 1.16|5=n.c.|15=2 electr.|18=2 electr.|19=with|20=dynamic|21=without|22=--|23=--|24=no|25=no"
         "|26=30 min.|27=with|28=without|29=single"},
        {8, 0, block({{7, 0x74}, {13, 0x31}, {14, 0x0C}}),
         "19=mit|24=nein|25=ja|26=--|27=ohne|28=10 min.|29=einfach"},
        {0, 0, block({{7, 5}, {13, 0x20}}), "0= 0.05|24=ja|23=--|22=--"},
        {0, 0, block({{7, 255}}), "0= 2.55"},
        {6, 0, block({{7, 110}, {13, 0x13}}), "0= 1.10|26=30 sek.|24=nein"},
        {0x14, 0, block({{13, 0x10}}), "26=--"},  // no model of the catalogue
        {1, En, block({{11, 0xE4}}), "7=n.c.|8=standard|9=4 relais|10=testable|22=100k"},
        {13, 0, block({{13, 0x04}, {14, 0x08}}), "22=200k|27=ohne|28=ohne|29=einfach"},
        {9, 0, block({{13, 0x0C}, {14, 0x00}}), "22=1000k|29=doppel"},
        {3, 0, block({{13, 0x0C}, {14, 0x0E}}), "22=--|27=--|28=--|29=--"},
        {11, 0, block({{14, 0x06}}), "27=mit|28=10 min.|29=doppel"},
        {14, 0, block({{14, 0x02}}), "27=mit|28=ohne|29=kein"},
        // Muting restart by family, program version and bits 0 and 5 of byte 13.
        {4, 0, block({{7, 0x74}, {13, 0x01}}), "25=--"}, {0, 0, block({{7, 0x10}, {13, 0x21}}), "25=--"},
        {8, 0, block({{7, 0x50}, {13, 0x00}}), "25=nein"}, {12, 0, block({{7, 0x71}, {13, 0x01}}), "25=ja"},
        {12, 0, block({{7, 0x72}, {13, 0x01}}), "25=nein"}, {8, 0, block({{7, 0x75}, {13, 0x01}}), "25=ja"},
        {15, 0, block({{7, 0x75}, {13, 0x21}}), "25=nein"}, {8, 0, block({{7, 0x76}, {13, 0x01}}), "25=nein"},
        {8, 0, block({{7, 0x76}, {13, 0x21}}), "25=ja"}, {12, 0, block({{7, 0x76}, {13, 0x21}}), "25=nein"},
        // Relay cycles: ten bits in units of 1024 in a short telegram, 24 bits in a long one; while
        // a CPU error is shown byte 15 is the error number.
        {1, 0, block({{14, 0xC0}, {15, 0xFF}}), "23= 1047k"}, {9, 0, block({{14, 0x80}}), "23= 524k"},
        {13, 0, block({{14, 0x3F}, {15, 0x7D}}), "23= 128k"},
        {5, Lang, block({{7, 0x64}, {10, 0x03}, {14, 0xC0}, {15, 0xFF}}), "23= 123456|0= 1.00|5=2 electr."},
        {4, Cpu, block({{15, 7}}), "23=--"}, {9, Cpu, block({{15, 7}}), "23="},
        // Service modes: the release value, and byte 9 as one or two muting values.
        {0, S1, block({{8, 0xE8}}), "1=232|2="}, {9, S2, block({{9, 0x5A}}), "2=5|3=10|1="},
        {13, S2, block({{9, 0x5A}, {14, 0x08}}), "2=90|3=0"},
        {2, S2, block({{9, 0x84}, {14, 0x53}}), "2=8|3=4|29=--"},
    };
    for (const auto& t : tabelle) {
        SCOPED_TRACE("model " + std::to_string(t.modell) + " flags " + std::to_string(t.flags));
        Rig rig;
        rig.state.HardwareTyp = static_cast<std::uint8_t>(t.modell);
        rig.state.einstellungen.SprachOffset = t.flags & En ? 10000 : 0;
        rig.state.ServiceModus1 = t.flags & S1;
        rig.state.ServiceModus2 = t.flags & S2;
        rig.state.CpuFehlerAktiv = t.flags & Cpu;
        rig.zeige(t.b, t.flags & Lang, 0x01E240);
        EXPECT_EQ(werte(rig, t.werte), t.werte);
        // "n.c." shows the label's red background; every other value is see-through.
        for (int i = 0; i < kStatusLabelAnzahl; ++i) {
            EXPECT_EQ(rig.wert(i).opaque(), rig.wert(i).caption() == "n.c.") << i;
            EXPECT_EQ(i == kFehlendesStatusLabel ? kStatusWertRot : rig.wert(i).colour(), kStatusWertRot);
        }
    }
}

TEST(DiagStatusWerte, OnlyTheLabelsBehindChangedBitsAreWritten) {
    Rig rig;
    rig.state.HardwareTyp = 13;
    rig.state.ServiceModus1 = rig.state.ServiceModus2 = true;
    rig.status.AnzeigeDiagStatus(link::ReceiveState{});  // no telegram: only the initialisation
    EXPECT_EQ(rig.controls.lblDiagStatusText[0].caption() + werte(rig, "0="), "Programm Version:  0=");
    auto b = block({{7, 0x71}, {8, 3}, {9, 0x21}, {10, 0x1B}, {11, 0x4E}, {12, 0xC6}, {13, 0x21}, {14, 206}});
    rig.geschrieben(b);
    const struct {
        std::vector<std::pair<int, int>> aenderung;
        int service;  // -1: unchanged
        std::vector<int> labels;
    } schritte[] = {
        {{}, -1, {}},                 // the same telegram again
        {{{10, 0x1A}}, -1, {5}},      // S1 only
        {{{13, 0xA1}}, -1, {}},       // bit 7 of byte 13 has no display
        {{{7, 0x76}}, -1, {0}},       // the muting restart waits for its own bits
        {{{13, 0xA0}}, -1, {19, 24, 25}},
        {{{14, 0xC6}}, -1, {29}},     // double muting: byte 9 unchanged, its values stay
        {{{9, 0x5A}}, -1, {2, 3}},
        {{{8, 7}}, -1, {1}},
        {{{8, 9}, {9, 0x12}}, 0, {}},  // outside the service modes the values are not even remembered,
        {{}, 1, {1, 2, 3}},            // so they show as soon as a mode is entered
    };
    for (const auto& s : schritte) {
        SCOPED_TRACE(testing::PrintToString(s.labels));
        for (const auto& [k, v] : s.aenderung) b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v);
        if (s.service >= 0) rig.state.ServiceModus1 = rig.state.ServiceModus2 = s.service;
        EXPECT_EQ(rig.geschrieben(b), s.labels);
    }
    EXPECT_EQ(rig.wert(25).caption(), "nein");
    EXPECT_EQ(rig.wert(2).caption() + "/" + rig.wert(3).caption(), "1/2");

    // While a CPU error is shown byte 15 is its number: the cycles wait for the next clean block.
    rig.state.CpuFehlerAktiv = true;
    b[15] = 100;
    rig.zeige(b);
    EXPECT_EQ(rig.wert(23).caption(), " 4711");
    rig.state.CpuFehlerAktiv = false;
    rig.zeige(b);
    EXPECT_EQ(rig.wert(23).caption(), " 888k");

    // A language change blanks the values and the same telegram does not refill them; the reset
    // of StatusInitialisiert that follows such events rewrites them all, here for another model.
    rig.state.einstellungen.SprachOffset = 10000;
    rig.status.InitDiagStatusText();
    rig.zeige(b);
    EXPECT_EQ(rig.controls.lblDiagStatusText[19].caption() + werte(rig, "0=|19=|23="),
              "restart-interlock:  0=|19=|23=");
    rig.state.StatusInitialisiert = false;
    rig.state.HardwareTyp = 6;
    rig.zeige(b);
    const std::string erwartet = "0= 1.18|19=without|24=yes|26=30 min.|23=--";
    EXPECT_EQ(werte(rig, erwartet), erwartet);
}

}  // namespace
}  // namespace krv::diag
