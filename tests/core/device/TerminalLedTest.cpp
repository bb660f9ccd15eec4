// Terminal LEDs: colours from the terminal bits, high impedance, no data, redraw on change,
// and what they hand to the timing diagram.
#include <gtest/gtest.h>

#include <tuple>

#include "DeviceTestRig.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;

struct OffenerPort : DeviceRig {
    OffenerPort() { portOeffnen(); }
};

TEST(KlemmenLedFarben, SetBitGreenClearBitRedMostSignificantFirst) {
    OffenerPort rig;
    rig.zeige({0x00, 0x00, 0x80, 0x00, 0x01});
    EXPECT_EQ(rig.klemme(32), app::kGruen);  // bit 0 = byte 2, 0x80
    EXPECT_EQ(rig.klemme(29), app::kRot);    // bit 5
    EXPECT_EQ(rig.klemme(28), app::kRot);    // bit 6
    EXPECT_EQ(rig.klemme(0), app::kRot);     // bit 3
    EXPECT_EQ(rig.klemme(2), app::kGruen);   // bit 23 = byte 4, 0x01
    EXPECT_EQ(rig.klemme(3), app::kRot);     // bit 21

    rig.zeige({0x0D, 0x00, 0x00, 0x00, 0x00, 0x01, 0x10});
    EXPECT_EQ(rig.klemme(12), app::kGruen);  // bit 31 = byte 5, 0x01
    EXPECT_EQ(rig.klemme(28), app::kGruen);  // bit 35 = byte 6, 0x10
    EXPECT_EQ(rig.klemme(29), app::kRot);    // bit 32
}

TEST(KlemmenLedFarben, HighImpedanceFlagsOfByte6MakeTerminalsYellow) {
    OffenerPort rig;
    // Model 8: bit 12 -> LED 11, bit 13 -> LED 12, bit 20 -> LED 7.
    rig.zeige({0x08, 0x00, 0x00, 0x08, 0x00, 0x00, 0x08});
    EXPECT_EQ(rig.klemme(11), app::kGelb);
    rig.zeige({0x08, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00});
    EXPECT_EQ(rig.klemme(11), app::kGruen);
    rig.zeige({0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08});
    EXPECT_EQ(rig.klemme(11), app::kGelb);
    EXPECT_EQ(rig.klemme(12), app::kRot);
    EXPECT_EQ(rig.klemme(7), app::kRot);

    rig.zeige({0x08, 0x00, 0x00, 0x04, 0x08, 0x00, 0x06});
    EXPECT_EQ(rig.klemme(11), app::kRot);
    EXPECT_EQ(rig.klemme(12), app::kGelb);
    EXPECT_EQ(rig.klemme(7), app::kGelb);
    // The flag of one terminal does not touch another: 0x08 is terminal 12's only.
    rig.zeige({0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0x08});
    EXPECT_EQ(rig.klemme(7), app::kGruen);
}

TEST(KlemmenLedFarben, Byte6FlagBitsAreNoTerminals) {
    OffenerPort rig;
    rig.zeige({0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F});
    // Bits 32..35 come from the high nibble (all clear: red); the set low nibble is flags only.
    EXPECT_EQ(rig.klemme(29), app::kRot);
    EXPECT_EQ(rig.klemme(9), app::kRot);
    EXPECT_EQ(rig.klemme(10), app::kRot);
    EXPECT_EQ(rig.klemme(28), app::kRot);
}

TEST(KlemmenLedFarben, Byte3BitFourInvertedIntoBitSixForModelsNotAMultipleOf4) {
    OffenerPort rig;
    // Model 1: bit 9 (byte 3, 0x40) -> LED 33, bit 11 (byte 3, 0x10) -> LED 32.
    rig.zeige({0x01, 0x00, 0x00, 0x10});
    EXPECT_EQ(rig.klemme(32), app::kGruen);
    EXPECT_EQ(rig.klemme(33), app::kRot);
    rig.zeige({0x01, 0x00, 0x00, 0x40});
    EXPECT_EQ(rig.klemme(32), app::kRot);
    EXPECT_EQ(rig.klemme(33), app::kGruen);
    rig.zeige({0x01, 0x00, 0x00, 0x50});
    EXPECT_EQ(rig.klemme(33), app::kRot);

    // Model 4: bit 9 -> LED 32 as sent.
    rig.zeige({0x04, 0x00, 0x00, 0x00});
    EXPECT_EQ(rig.klemme(32), app::kRot);
    rig.zeige({0x04, 0x00, 0x00, 0x40});
    EXPECT_EQ(rig.klemme(32), app::kGruen);
}

TEST(KlemmenLedFarben, WhiteWithoutPortOrPlayback) {
    DeviceRig rig;
    rig.zeige({0x09, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    for (int led : rig.sichtbareKlemmenLeds()) {
        EXPECT_EQ(rig.klemme(led), app::kWeiss) << led;
        EXPECT_EQ(rig.display.LedFarbe()[static_cast<std::size_t>(led)], app::kWeiss) << led;
    }

    // Replaying a CPU data file shows the colours although the port is closed.
    rig.state.CpuWiedergabeAktiv = true;
    rig.zeige({0x09, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(rig.klemme(42), app::kGruen);
    EXPECT_EQ(rig.klemme(15), app::kGelb);  // bit 12, flagged high impedance

    // A loaded protocol file window (state 2) is no data either: only loading (state 1) counts.
    rig.state.CpuWiedergabeAktiv = false;
    rig.state.playback.SimulationsStatus = 2;
    rig.zeige({0x09, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(rig.klemme(42), app::kWeiss);
    EXPECT_EQ(rig.display.LedFarbe()[42], app::kWeiss);
}

TEST(KlemmenLedFarben, RedrawnOnlyOnChange) {
    OffenerPort rig;
    const GeraeteBytes block{0x3D, 0x15, 0xA5, 0x5A, 0xC3, 0x3C, 0x9E};
    rig.zeige(block);
    const unsigned vorher = rig.alleAenderungen();
    rig.zeige(block);
    EXPECT_EQ(rig.alleAenderungen(), vorher);

    // A terminal painted over by someone else stays so while its colour is unchanged.
    rig.controls.shpLed[0].setColour(app::kBlau);
    rig.zeige(block);
    EXPECT_EQ(rig.klemme(0), app::kBlau);

    GeraeteBytes anders = block;
    anders[2] ^= 0x10;  // bit 3 -> LED 0
    const unsigned led0 = rig.controls.shpLed[0].changes();
    const unsigned led1 = rig.controls.shpLed[1].changes();
    rig.zeige(anders);
    EXPECT_EQ(rig.controls.shpLed[0].changes(), led0 + 1);
    EXPECT_EQ(rig.controls.shpLed[1].changes(), led1);
}

TEST(KlemmenLedFarben, LedLimitStopsTheGroup) {
    LedTabellen kaputt = ledTabellen();
    kaputt[0][2] = 44;  // model 0, bit 2
    app::ProgramState state;
    app::MainFormState controls;
    ports::AlwaysLoads pictures;
    ports::ScriptedDialogs dialogs;
    DeviceDisplay display(state, controls, pictures, dialogs, kaputt);
    display.HardwareDarstellung(0x00);
    state.PortOffen = true;

    display.AnzeigeKlemmenLed(0xFF, 0x00, 0, 8);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error in Programmteil  - KonvertBitToLed -  Max_LED überschritten");
    EXPECT_EQ(dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(controls.shpLed[32].colour(), app::kGruen);  // bit 0, before the broken entry
    EXPECT_EQ(controls.shpLed[0].colour(), app::kWeiss);   // bit 3, after it: not drawn
    EXPECT_EQ(display.LedFarbe()[0], app::kWeiss);
}

struct Zeichnung {
    int kanal;
    std::uint8_t zustand;
    std::uint8_t anzahl;
    bool operator==(const Zeichnung&) const = default;
};

TEST(KlemmenLedZeitdiagramm, LiveDrawsEverySelectedChannelEveryBlock) {
    OffenerPort rig;
    std::vector<Zeichnung> gezeichnet;
    rig.display.ZeichneSpur = [&](int k, std::uint8_t z, std::uint8_t a) { gezeichnet.push_back({k, z, a}); };
    // Channels show terminal list entries: n + 1 for bit n; 0 = none.
    rig.state.einstellungen.KanalTab = {13, 0, 1, 0, 13, 2, 0, 0, 36};

    rig.zeige({0x08, 0x00, 0x80, 0x08, 0x00, 0x00, 0x18});
    // Bit 0 green (channel 2), bit 12 yellow (channels 0 and 4), bit 35 green (channel 8, no
    // LED in model 8: nothing); bit 1 has no LED (channel 5: nothing).
    EXPECT_EQ(gezeichnet, (std::vector<Zeichnung>{{2, 2, 0}, {0, 1, 0}, {4, 1, 0}}));

    gezeichnet.clear();
    rig.zeige({0x08, 0x00, 0x80, 0x08, 0x00, 0x00, 0x18});  // unchanged: drawn again all the same
    EXPECT_EQ(gezeichnet.size(), 3u);

    gezeichnet.clear();
    rig.zeige({0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10});
    EXPECT_EQ(gezeichnet, (std::vector<Zeichnung>{{2, 0, 0}, {0, 0, 0}, {4, 0, 0}, {8, 2, 0}}));

    gezeichnet.clear();
    rig.state.PortOffen = false;  // no data: nothing reaches the diagram
    rig.zeige({0x09, 0x00, 0x80});
    EXPECT_TRUE(gezeichnet.empty());
}

TEST(KlemmenLedZeitdiagramm, LoadingStoresLevelsAndDrawsNothing) {
    DeviceRig rig;  // a protocol file is loaded with the port closed
    rig.state.playback.SimulationsStatus = 1;
    std::vector<std::pair<int, int>> gespeichert;
    int gezeichnet = 0;
    rig.display.SampleKlemmen = [&](int spalte, std::uint8_t z) { gespeichert.emplace_back(spalte, z); };
    rig.display.ZeichneSpur = [&](int, std::uint8_t, std::uint8_t) { ++gezeichnet; };
    rig.state.einstellungen.KanalTab = {1, 4, 9, 13, 0, 0, 0, 0, 0};

    rig.zeige({0x00, 0x00, 0x90, 0x08, 0x02, 0x00, 0x08});
    const unsigned nachDemErsten = rig.alleAenderungen();
    EXPECT_EQ(gezeichnet, 0);
    // Model 0 has LEDs for bits 0, 3, 5, 6, 8, 9, 12, 13, 14, 21, 22, 23: column = bit + 1.
    EXPECT_EQ(gespeichert, (std::vector<std::pair<int, int>>{{1, 2}, {4, 2}, {6, 0}, {7, 0}, {9, 0}, {10, 0},
                                                             {13, 1}, {14, 0}, {15, 0}, {22, 0}, {23, 2}, {24, 0}}));
    for (int led : rig.sichtbareKlemmenLeds()) EXPECT_EQ(rig.klemme(led), app::kWeiss) << led;

    gespeichert.clear();
    rig.zeige({0x00, 0x00, 0x90, 0x08, 0x02, 0x00, 0x08});
    EXPECT_EQ(gespeichert.size(), 12u);  // every record is stored, changed or not
    EXPECT_EQ(rig.alleAenderungen(), nachDemErsten);
}

}  // namespace
}  // namespace krv::device
