// The sizes that follow the screen's dots per inch and where the children go on resizing.
#include <gtest/gtest.h>

#include "app/main_layout.h"

namespace {

TEST(MainLayout, MetricsFollowTheDotsPerInch) {
    ShellMetrics m = ComputeShellMetrics(96, 96);
    EXPECT_EQ(m.fieldHeight, 18);
    EXPECT_EQ(m.addressPanelHeight, 112);
    EXPECT_EQ(m.formatBarHeight, 26);
    EXPECT_EQ(m.sizeBoxWidth, 43);
    m = ComputeShellMetrics(120, 120);
    EXPECT_EQ(m.fieldHeight, 22);
    EXPECT_EQ(m.addressPanelHeight, 132);
    EXPECT_EQ(m.sizeBoxWidth, 51);
}

TEST(MainLayout, TheFirstAttachmentShrinksTheBodyAndShowsTheStrip) {
    const ShellMetrics m = ComputeShellMetrics(96, 96);
    MainLayout none = ComputeMainLayout(456, 480, true, 0, m);
    MainLayout one = ComputeMainLayout(456, 480, true, 1, m);
    EXPECT_EQ(none.bodyEditor.y, 186);
    EXPECT_EQ(none.bodyEditor.height, 480 - 62 - 112 - 26 - 73);
    EXPECT_EQ(one.bodyEditor.height, none.bodyEditor.height - 75);
    EXPECT_EQ(none.attachStrip.width, 0);
    EXPECT_EQ(none.attachStrip.y, 480);
    EXPECT_EQ(one.attachStrip.y, 480 - 162);
    EXPECT_EQ(one.attachStrip.height, 75);
    EXPECT_EQ(one.adBanner.y, 480 - 87);

    // Without the banner the body reaches 25 pixels above the bottom.
    MainLayout bare = ComputeMainLayout(456, 480, false, 2, m);
    EXPECT_EQ(bare.attachStrip.y, 380);
    EXPECT_EQ(bare.adBanner.height, 0);
    EXPECT_EQ(bare.bodyEditor.y + bare.bodyEditor.height, bare.attachStrip.y);
}

TEST(MainLayout, ATinyClientNeverGetsANegativeBody) {
    MainLayout layout = ComputeMainLayout(100, 50, true, 3, ComputeShellMetrics(96, 96));
    EXPECT_EQ(layout.bodyEditor.height, 0);
}

} // namespace
