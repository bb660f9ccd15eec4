#include "platform/SerialDeviceList.hpp"

#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/app/MemoryProfile.hpp"
#include "platform/LinuxSerialPort.hpp"
#include "platform/PortMapping.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// A /dev and a /sys of our own in a temporary directory.
class SerialDeviceListTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "krvdiag-devs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(dev());
        fs::create_directories(sys() / "class" / "tty");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path dev() const { return root_ / "dev"; }
    fs::path sys() const { return root_ / "sys"; }

    void node(const std::string& name) { std::ofstream(dev() / name).put('\0'); }
    // A tty known to the kernel; type is the UART type the serial core reports (0: none).
    void ttyClass(const std::string& name, bool driver, const char* type) {
        const fs::path dir = sys() / "class" / "tty" / name;
        fs::create_directories(dir);
        if (driver) fs::create_directories(dir / "device");
        if (type != nullptr) std::ofstream(dir / "type") << type << '\n';
    }
    void byId(const std::string& name, const fs::path& target) {
        fs::create_directories(dev() / "serial" / "by-id");
        fs::create_symlink(target, dev() / "serial" / "by-id" / name);
    }

    std::vector<std::string> pfade() const {
        std::vector<std::string> r;
        for (const SerialDevice& g : serielleGeraete(dev(), sys())) r.push_back(g.pfad);
        return r;
    }
    std::string d(const std::string& name) const { return (dev() / name).string(); }

    fs::path root_;
};

TEST_F(SerialDeviceListTest, UsbAndAcmDevicesAreListedInNumberOrder) {
    for (const char* n : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyUSB0", "tty0", "tty12", "console", "ttyprintk"}) node(n);
    EXPECT_EQ(pfade(), (std::vector<std::string>{d("ttyACM0"), d("ttyUSB0"), d("ttyUSB2"), d("ttyUSB10")}));
}

TEST_F(SerialDeviceListTest, OnlySerialPortsWithAUartBehindThemCount) {
    for (const char* n : {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyS4"}) node(n);
    ttyClass("ttyS0", true, "4");     // a 16550A
    ttyClass("ttyS1", true, "0");     // the kernel's placeholder: no UART
    ttyClass("ttyS2", false, "4");    // no driver behind it
    ttyClass("ttyS3", true, nullptr); // a driver without the serial core's type file
    // ttyS4 has no class directory at all.
    EXPECT_EQ(pfade(), (std::vector<std::string>{d("ttyS0"), d("ttyS3")}));
}

TEST_F(SerialDeviceListTest, StableLinksFollowTheDevicesAndShowWhereTheyLead) {
    node("ttyUSB0");
    node("ttyUSB1");
    byId("usb-Vendor_Cable_B2-if00-port0", "../../ttyUSB1");
    byId("usb-Vendor_Cable_A1-if00-port0", "../../ttyUSB0");
    byId("usb-Unplugged_C3-if00-port0", "../../ttyUSB7");  // dangling: its adapter is gone

    const auto geraete = serielleGeraete(dev(), sys());
    ASSERT_EQ(geraete.size(), 4u);
    EXPECT_EQ(geraete[0].pfad, d("ttyUSB0"));
    EXPECT_TRUE(geraete[0].ziel.empty());
    EXPECT_EQ(geraete[2].pfad, (dev() / "serial" / "by-id" / "usb-Vendor_Cable_A1-if00-port0").string());
    EXPECT_EQ(geraete[2].ziel, d("ttyUSB0"));
    EXPECT_EQ(geraete[3].ziel, d("ttyUSB1"));

    const std::string text = geraeteText(geraete);
    EXPECT_THAT(text, HasSubstr("\n  " + d("ttyUSB1") + "\n"));
    EXPECT_THAT(text, HasSubstr("usb-Vendor_Cable_B2-if00-port0 -> " + d("ttyUSB1")));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("Unplugged")));
}

TEST_F(SerialDeviceListTest, AMissingTreeMeansNoDevicesAndSaysSo) {
    EXPECT_TRUE(serielleGeraete(root_ / "nowhere", root_ / "nosys").empty());
    EXPECT_EQ(geraeteText({}), "No serial device is present on this computer.");
}

TEST_F(SerialDeviceListTest, PortInfoTellsWhetherTheMappedDeviceExists) {
    node("ttyUSB1");
    app::MemoryProfile profile;
    profile.WritePrivateProfileString(kSektionPorts, "COM1", d("ttyUSB0"));
    profile.WritePrivateProfileString(kSektionPorts, "COM2", "  " + d("ttyUSB1") + " ");
    profile.WritePrivateProfileString(kSektionPorts, "COM3", "");

    const link::PortGeraet com1 = portGeraetInfo(profile, 1);
    EXPECT_EQ(com1.pfad, d("ttyUSB0"));
    EXPECT_FALSE(com1.vorhanden);
    const link::PortGeraet com2 = portGeraetInfo(profile, 2);
    EXPECT_EQ(com2.pfad, d("ttyUSB1"));
    EXPECT_TRUE(com2.vorhanden);
    const link::PortGeraet com3 = portGeraetInfo(profile, 3);
    EXPECT_TRUE(com3.pfad.empty());
    EXPECT_FALSE(com3.vorhanden);
}

// A port whose device is missing, or has no UART behind it, is told which devices there are.
TEST(OpenErrorDeviceList, MissingDevicesListWhatThisComputerHas) {
    const std::string liste = geraeteText(serielleGeraete());
    for (int err : {ENOENT, ENODEV, ENXIO, EIO}) {
        EXPECT_THAT(describeOpenError("/dev/krvdiag-gone", err), HasSubstr("[Ports].\n" + liste)) << err;
    }
    EXPECT_THAT(describeOpenError("/dev/krvdiag-gone", EBUSY), ::testing::Not(HasSubstr(liste)));
}

}  // namespace
}  // namespace krv::platform
