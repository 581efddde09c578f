// The sizes that follow the screen's dots per inch, and how the bands of the main window stack.
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

// The bands stack without gaps: the body from under the format bar down to the strip (or the
// banner), the strip on the banner, the banner on the status bar's 25 pixels.
TEST(MainLayout, TheBodyFillsWhatTheOtherBandsLeave) {
    const ShellMetrics m = ComputeShellMetrics(96, 96);
    for (bool banner : {true, false}) {
        for (int attachments : {0, 2}) {
            SCOPED_TRACE(testing::Message() << banner << " " << attachments);
            const MainLayout l = ComputeMainLayout(456, 480, banner, attachments, m);
            const LayoutRect& bold = l.formatBar.boldButton;
            EXPECT_EQ(l.bodyEditor.y, bold.y + m.formatBarHeight);
            const int below = attachments > 0 ? l.attachStrip.y : l.adBanner.y;
            EXPECT_EQ(l.bodyEditor.y + l.bodyEditor.height, below);
            EXPECT_EQ(l.attachStrip.height, attachments > 0 ? kAttachStripHeight : 0);
            EXPECT_EQ(l.adBanner.height, banner ? kAdBannerHeight : 0);
            EXPECT_EQ(l.adBanner.y + l.adBanner.height, 480 - 25);
            if (attachments > 0) {
                EXPECT_EQ(l.attachStrip.y + l.attachStrip.height, l.adBanner.y);
            }
        }
    }
}

TEST(MainLayout, FormatButtonsStandSideBySideAndTheStatusBarHasThreeParts) {
    const MainLayout l = ComputeMainLayout(456, 480, true, 0, ComputeShellMetrics(120, 120));
    const FormatBarLayout& bar = l.formatBar;
    EXPECT_EQ(bar.italicButton.x, bar.boldButton.x + bar.boldButton.width);
    EXPECT_EQ(bar.underlineButton.x, bar.italicButton.x + bar.italicButton.width);
    EXPECT_EQ(bar.boldButton.y, bar.underlineButton.y);
    EXPECT_EQ(l.statusPartEdges[0], 456 / 2);
    EXPECT_EQ(l.statusPartEdges[2], l.statusPartEdges[1]) << "part 2 has no width of its own";
    EXPECT_EQ(l.statusPartEdges[3], -1);
}

TEST(MainLayout, ATinyClientNeverGetsANegativeBody) {
    MainLayout layout = ComputeMainLayout(100, 50, true, 3, ComputeShellMetrics(96, 96));
    EXPECT_EQ(layout.bodyEditor.height, 0);
}

} // namespace
