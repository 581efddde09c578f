#include "app/main_layout.h"

ShellMetrics ComputeShellMetrics(int logPixelsX, int logPixelsY) {
    ShellMetrics m;
    int n = logPixelsY * 12 / 72;
    int nx = logPixelsX * 12 / 72;
    m.uiFontHeight = n;
    m.fieldHeight = n + 2;
    m.addressPanelHeight = 5 * m.fieldHeight + 22;
    m.formatBarHeight = n + 10;
    m.sizeBoxWidth = 2 * nx + 11;
    return m;
}

FormatBarLayout ComputeFormatBarLayout(const ShellMetrics& m) {
    const int y = m.addressPanelHeight + 48;
    const int s = m.sizeBoxWidth;
    FormatBarLayout bar;
    bar.fontNameBox = {10, y, 175, kComboDropHeight};
    bar.sizeBox = {195, y, s, kComboDropHeight};
    bar.colourBox = {s + 205, y, 45, kComboDropHeight};
    bar.boldButton = {s + 260, y, kFormatBarButtonSize, kFormatBarButtonSize};
    bar.italicButton = {s + 285, y, kFormatBarButtonSize, kFormatBarButtonSize};
    bar.underlineButton = {s + 310, y, kFormatBarButtonSize, kFormatBarButtonSize};
    return bar;
}

MainLayout ComputeMainLayout(int w, int h, bool hasAdBanner, int attachmentCount,
                             const ShellMetrics& m) {
    const int a = hasAdBanner ? 1 : 0;
    const bool strip = attachmentCount > 0;
    MainLayout layout;
    for (int i = 0; i < 5; ++i) {
        layout.pictureButtons[i] = {i * kPictureButtonWidth, 2, kPictureButtonWidth,
                                    kPictureButtonHeight};
    }
    layout.logoButton = {w - kPictureButtonWidth, 2, kLogoSize, kLogoSize};
    layout.addressPanel = {0, kToolbarTop, w - 3, m.addressPanelHeight};
    layout.formatBar = ComputeFormatBarLayout(m);
    layout.bodyEditor = {0, m.formatBarHeight + m.addressPanelHeight + 48, w - 2,
                         h - kAdBannerHeight * a - m.addressPanelHeight - m.formatBarHeight -
                             (strip ? kAttachStripHeight : 0) - 73};
    if (layout.bodyEditor.height < 0) {
        layout.bodyEditor.height = 0; // a window too small for its fixed bands
    }
    if (strip) {
        layout.attachStrip = {0, h - (hasAdBanner ? 162 : 100), w, kAttachStripHeight};
    } else {
        layout.attachStrip = {0, h, 0, 0};
    }
    layout.adBanner = {0, h - kAdBannerHeight * a - 25, w, kAdBannerHeight * a};
    // Parts 2 and 3 never carry text; part 2 is given no width of its own.
    layout.statusPartEdges[0] = w / 2;
    layout.statusPartEdges[1] = w * 3 / 4;
    layout.statusPartEdges[2] = w * 3 / 4;
    layout.statusPartEdges[3] = -1;
    return layout;
}
