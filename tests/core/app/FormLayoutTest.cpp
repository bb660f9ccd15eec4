#include "core/app/FormLayout.hpp"

#include <gtest/gtest.h>

namespace krv::app {
namespace {

constexpr TwipSize kP1{1000, 345};
constexpr TwipSize kP2{6000, 300};
constexpr TwipSize kP3{1200, 400};

TEST(FormLayoutTest, PanelsLineTheBottomEdgeAndOnlyTheMiddleOneStretches) {
    const FormLayout l = Form_Resize(9000, 7000, kP1, kP2, kP3);
    EXPECT_EQ(l.SSPanel1, (TwipRect{0, 7000 - 345, 1000, 345}));
    EXPECT_EQ(l.SSPanel2, (TwipRect{1000, 7000 - 300, 9000 - 1000 - 1200, 300}));
    EXPECT_EQ(l.SSPanel3, (TwipRect{1000 + 6800, 7000 - 400, 1200, 400}));
    // The panels touch and end at the right edge.
    EXPECT_EQ(l.SSPanel3.left + l.SSPanel3.width, 9000);

    const FormLayout breiter = Form_Resize(12000, 7000, kP1, kP2, kP3);
    EXPECT_EQ(breiter.SSPanel1.width, 1000);
    EXPECT_EQ(breiter.SSPanel3.width, 1200);
    EXPECT_EQ(breiter.SSPanel2.width, 12000 - 2200);
}

TEST(FormLayoutTest, ContainerFillsTheAreaAboveTheFirstPanel) {
    const FormLayout l = Form_Resize(9000, 7000, kP1, kP2, kP3);
    // Its height follows SSPanel1's height, not the taller SSPanel3.
    EXPECT_EQ(l.picContainer, (TwipRect{0, 0, 9000, 7000 - 345}));
}

TEST(FormLayoutTest, TooSmallWindowClampsEveryComputedValueToZero) {
    const FormLayout l = Form_Resize(500, 200, kP1, kP2, kP3);
    EXPECT_EQ(l.SSPanel2.width, 0);
    EXPECT_EQ(l.SSPanel3.left, 1000);  // SSPanel1's width plus a zero-width SSPanel2
    EXPECT_EQ(l.SSPanel1.top, 0);
    EXPECT_EQ(l.SSPanel2.top, 0);
    EXPECT_EQ(l.SSPanel3.top, 0);
    EXPECT_EQ(l.picContainer.height, 0);
    EXPECT_EQ(l.picContainer.width, 500);

    const FormLayout leer = Form_Resize(0, 0, kP1, kP2, kP3);
    EXPECT_EQ(leer.picContainer, (TwipRect{0, 0, 0, 0}));
    EXPECT_EQ(leer.SSPanel2.width, 0);
}

TEST(FormLayoutTest, FractionalScaleValuesRoundLikeTheIntegerConversion) {
    EXPECT_EQ(ganzeTwips(2.5), 2);  // halves go to the even neighbour
    EXPECT_EQ(ganzeTwips(3.5), 4);
    EXPECT_EQ(ganzeTwips(7.4), 7);
    EXPECT_EQ(ganzeTwips(-0.4), 0);
    EXPECT_EQ(ganzeTwips(-3000), 0);

    const FormLayout l = Form_Resize(8200.5, 7000.5, kP1, kP2, kP3);
    EXPECT_EQ(l.SSPanel2.width, 6000);  // 6000.5 -> 6000
    EXPECT_EQ(l.SSPanel1.top, 6656);    // 6655.5 -> 6656
}

TEST(FormLayoutTest, WideWindowsKeepTheirFullWidth) {
    // 2560 pixels at 96 dpi are 38400 twips, beyond the 16-bit range.
    const FormLayout l = Form_Resize(38400, 20000, kP1, kP2, kP3);
    EXPECT_EQ(l.picContainer.width, 38400);
    EXPECT_EQ(l.SSPanel3.left + l.SSPanel3.width, 38400);
}

}  // namespace
}  // namespace krv::app
