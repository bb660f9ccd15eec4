// Module LEDs: which a model has, and their colours from status bytes 0 and 1.
#include <gtest/gtest.h>

#include <map>

#include "DeviceTestRig.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;

std::set<std::string> sichtbareModulLeds(const DeviceRig& rig) {
    std::set<std::string> namen;
    for (const ModulLed& led : kModulLeds) {
        if ((rig.controls.*led.shape).visible()) namen.insert(std::string(led.name));
    }
    return namen;
}

TEST(ModulLedAktivierung, EachModelShowsTheLedsOfItsModules) {
    const std::set<std::string> basis{"OutputFault", "OutputLocked", "OutputState", "CpuFault", "CpuS1S2"};
    auto mit = [&basis](std::initializer_list<const char*> extra) {
        std::set<std::string> s = basis;
        for (const char* e : extra) s.insert(e);
        return s;
    };
    const std::map<int, std::set<std::string>> erwartet{
        {0, basis},
        {1, mit({"OutputWarn", "CpuS3S4"})},
        {3, mit({"CpuS3S4"})},
        {6, basis},
        {8, mit({"ErwFault", "ErwIndicat"})},
        {9, mit({"OutputWarn", "CpuS3S4", "ErwFault", "ErwIndicat", "ErwSwitch2", "ErwSwitch1"})},
        {14, mit({"ErwFault", "ErwIndicat"})},
        {15, mit({"CpuS3S4", "ErwFault", "ErwIndicat", "ErwSwitch2", "ErwSwitch1"})},
    };
    DeviceRig rig;
    for (const auto& [modell, leds] : erwartet) {
        rig.zeigeModell(modell);
        EXPECT_EQ(sichtbareModulLeds(rig), leds) << "model " << modell;
    }
}

TEST(ModulLedAktivierung, CountThresholds) {
    DeviceRig rig;
    rig.display.AktiviereLedAufErweiterungsModul(2);
    EXPECT_TRUE(rig.controls.shpErwFault.visible());
    EXPECT_TRUE(rig.controls.shpErwIndicat.visible());
    EXPECT_FALSE(rig.controls.shpErwSwitch2.visible());
    EXPECT_FALSE(rig.controls.shpErwSwitch1.visible());
    rig.display.AktiviereLedAufErweiterungsModul(3);
    EXPECT_TRUE(rig.controls.shpErwSwitch2.visible());
    EXPECT_TRUE(rig.controls.shpErwSwitch1.visible());
    rig.display.AktiviereLedAufErweiterungsModul(0);
    EXPECT_FALSE(rig.controls.shpErwFault.visible());
    EXPECT_FALSE(rig.controls.shpErwSwitch1.visible());

    rig.display.AktiviereLedAufOutputModul(0);  // the three basic output LEDs are always there
    EXPECT_TRUE(rig.controls.shpOutputFault.visible());
    EXPECT_TRUE(rig.controls.shpOutputState.visible());
    EXPECT_FALSE(rig.controls.shpOutputWarn.visible());
    rig.display.AktiviereLedAufCpuModul(2);
    EXPECT_TRUE(rig.controls.shpCpuS1S2.visible());
    EXPECT_FALSE(rig.controls.shpCpuS3S4.visible());
}

TEST(ModulLedFarben, OutputAndExtensionShareStatusByte1) {
    DeviceRig rig;
    rig.zeige({0x09, 0x05});
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpOutputLocked.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kGruen);
    EXPECT_EQ(rig.controls.shpOutputWarn.colour(), app::kWeiss);
    for (const app::Control* erw : {&rig.controls.shpErwFault, &rig.controls.shpErwIndicat,
                                    &rig.controls.shpErwSwitch2, &rig.controls.shpErwSwitch1}) {
        EXPECT_EQ(erw->colour(), app::kWeiss) << erw->name();
    }

    rig.zeige({0x09, 0xFA});
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpOutputLocked.colour(), app::kGelb);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kRot);  // state clear shows red
    EXPECT_EQ(rig.controls.shpOutputWarn.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpErwFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpErwIndicat.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpErwSwitch2.colour(), app::kGruen);
    EXPECT_EQ(rig.controls.shpErwSwitch1.colour(), app::kGruen);
}

TEST(ModulLedFarben, CpuLedsUseTheHighNibbleOfByte0) {
    DeviceRig rig;
    rig.zeige({0x71});
    EXPECT_EQ(rig.controls.shpCpuFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpCpuS1S2.colour(), app::kGruen);
    EXPECT_EQ(rig.controls.shpCpuS3S4.colour(), app::kGruen);
    rig.zeige({0x01});
    EXPECT_EQ(rig.controls.shpCpuFault.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpCpuS1S2.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpCpuS3S4.colour(), app::kWeiss);
}

TEST(ModulLedFarben, LedsAModelLacksAreNeitherShownNorColoured) {
    DeviceRig rig;
    rig.zeige({0x00});
    const unsigned s3s4 = rig.controls.shpCpuS3S4.changes();
    const unsigned warn = rig.controls.shpOutputWarn.changes();
    const unsigned erw = rig.controls.shpErwSwitch1.changes();
    rig.zeige({0x40, 0x88});
    EXPECT_FALSE(rig.controls.shpCpuS3S4.visible());
    EXPECT_EQ(rig.controls.shpCpuS3S4.changes(), s3s4);
    EXPECT_EQ(rig.controls.shpOutputWarn.changes(), warn);
    EXPECT_EQ(rig.controls.shpErwSwitch1.changes(), erw);
    EXPECT_EQ(rig.controls.shpCpuS3S4.colour(), app::kWeiss);
}

TEST(ModulLedFarben, RedrawnOnlyWhenTheBitChangedOrTheDisplayIsInvalid) {
    DeviceRig rig;
    rig.zeige({0x31, 0x05});
    // Someone else paints over the LED: an unchanged bit on a valid display leaves it.
    rig.controls.shpOutputState.setColour(app::kBlau);
    rig.display.AnzeigeLedAufOutputModul(0x05, 4);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kBlau);

    rig.state.AnzeigeGueltig = 0;
    rig.display.AnzeigeLedAufOutputModul(0x05, 4);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kGruen);
    rig.state.AnzeigeGueltig = 1;

    const unsigned fault = rig.controls.shpOutputFault.changes();
    const unsigned cpu = rig.controls.shpCpuFault.changes();
    rig.display.AnzeigeLedAufOutputModul(0x04, 4);  // only the fault bit fell
    rig.display.AnzeigeLedAufCpuModul(0x31, 3);
    EXPECT_EQ(rig.controls.shpOutputFault.changes(), fault + 1);
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpCpuFault.changes(), cpu);
}

TEST(ModulLedFarben, NotUpdatedWhileAProtocolFileIsLoaded) {
    DeviceRig rig;
    rig.zeige({0x09, 0x00});
    rig.state.playback.SimulationsStatus = 1;
    rig.zeige({0x19, 0x05});
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kWeiss);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpCpuFault.colour(), app::kWeiss);
}

TEST(ModulLedFarben, ShownEvenWithoutPort) {
    DeviceRig rig;  // port closed: the terminals are white, the module LEDs still show the block
    rig.zeige({0x1D, 0x11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpCpuFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpErwFault.colour(), app::kRot);
    for (int led : rig.sichtbareKlemmenLeds()) EXPECT_EQ(rig.klemme(led), app::kWeiss) << led;
}

}  // namespace
}  // namespace krv::device
