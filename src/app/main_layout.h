// Where the main window's children go: sizes derived from the screen's dots per inch, and the
// positions of every child for a given client size.
#pragma once

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

struct ShellMetrics {
    int fieldHeight;        // one address field: n + 2, n = 12 points in pixels
    int addressPanelHeight; // five fields and their gaps
    int formatBarHeight;
    int sizeBoxWidth;
    int uiFontHeight; // n
};

ShellMetrics ComputeShellMetrics(int logPixelsX, int logPixelsY);

constexpr int kToolbarTop = 45;         // the address panel starts below the toolbar
constexpr int kPictureButtonWidth = 55; // Send, Attach, Voice, Video, Cancel
constexpr int kPictureButtonHeight = 40;
constexpr int kLogoSize = 50;
constexpr int kAttachStripHeight = 75;
constexpr int kAdBannerHeight = 62;
constexpr int kMinimumWindowWidth = 390;
constexpr int kMinimumWindowHeight = 400;
constexpr int kFormatBarButtonSize = 25;
constexpr int kComboDropHeight = 400; // combo boxes are this high so that their lists drop down

struct FormatBarLayout {
    LayoutRect fontNameBox;
    LayoutRect sizeBox;
    LayoutRect colourBox;
    LayoutRect boldButton;
    LayoutRect italicButton;
    LayoutRect underlineButton;
};

struct MainLayout {
    LayoutRect pictureButtons[5]; // inside the toolbar
    LayoutRect logoButton;        // inside the toolbar
    LayoutRect addressPanel;
    FormatBarLayout formatBar;
    LayoutRect bodyEditor;
    LayoutRect attachStrip;
    LayoutRect adBanner;
    int statusPartEdges[4];
};

// clientWidth and clientHeight are the main window's client size; hasAdBanner is true while the
// banner window exists; attachmentCount is the number of used attachment slots.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, bool hasAdBanner,
                             int attachmentCount, const ShellMetrics& metrics);

FormatBarLayout ComputeFormatBarLayout(const ShellMetrics& metrics);
