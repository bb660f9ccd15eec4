#include "core/link/PortHinweise.hpp"

#include <gtest/gtest.h>

#include <map>

namespace krv::link {
namespace {

constexpr int kDeutsch = 0;
constexpr int kEnglisch = 10000;

// The first start on a machine whose only adapter is the second USB one.
std::map<int, PortGeraet> ersterStart() {
    return {{1, {"/dev/ttyUSB0", false}}, {2, {"/dev/ttyUSB1", true}}, {3, {"/dev/ttyS0", true}}, {4, {"", false}}};
}

class PortHinweiseTest : public ::testing::Test {
protected:
    void setze(int gewaehlt, int sprache = kDeutsch) {
        setzePortHinweise(mnuCom, gewaehlt, sprache, [this](int nr) { return geraete.at(nr); });
    }

    std::map<int, PortGeraet> geraete = ersterStart();
    std::array<app::Control, 5> mnuCom;
};

TEST_F(PortHinweiseTest, MissingSelectedDeviceShowsEveryPortsDevice) {
    setze(1);
    EXPECT_EQ(mnuCom[1].statusTip(), "COM1: /dev/ttyUSB0 (nicht vorhanden)");
    EXPECT_EQ(mnuCom[2].statusTip(), "COM2: /dev/ttyUSB1");
    EXPECT_EQ(mnuCom[3].statusTip(), "COM3: /dev/ttyS0");
    EXPECT_EQ(mnuCom[4].statusTip(), "COM4: -");
    EXPECT_TRUE(mnuCom[0].statusTip().empty());  // not shown, never given a tip

    setze(4, kEnglisch);  // no device set counts as missing
    EXPECT_EQ(mnuCom[1].statusTip(), "COM1: /dev/ttyUSB0 (not present)");
    EXPECT_EQ(mnuCom[2].statusTip(), "COM2: /dev/ttyUSB1");
}

TEST_F(PortHinweiseTest, PresentSelectedDeviceClearsTheHints) {
    setze(1);
    ASSERT_FALSE(mnuCom[3].statusTip().empty());
    setze(2);  // the technician chose the port that works
    for (int nr = 1; nr <= 4; ++nr) EXPECT_TRUE(mnuCom[static_cast<std::size_t>(nr)].statusTip().empty()) << nr;

    geraete[2].vorhanden = false;  // and then pulled the adapter
    setze(2);
    EXPECT_EQ(mnuCom[2].statusTip(), "COM2: /dev/ttyUSB1 (nicht vorhanden)");
}

TEST_F(PortHinweiseTest, UnchangedHintsReportNoChange) {
    setze(1);
    const unsigned vorher = mnuCom[1].changes();
    setze(1);
    EXPECT_EQ(mnuCom[1].changes(), vorher);
}

}  // namespace
}  // namespace krv::link
