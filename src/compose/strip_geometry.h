// Where the attachment strip puts its entries: a grid of cells, each an icon with two text lines
// under it, scrolled vertically in units of the text height.
#pragma once

struct StripMetrics {
    int charWidth;  // tmAveCharWidth of the strip's own device context
    int textHeight; // tmHeight of the same
    int iconWidth;  // SM_CXICON
    int iconHeight; // SM_CYICON
};

struct StripGrid {
    int cellWidth;
    int rowHeight;
    int columns; // at least 1
    int margin;  // left edge of the first column
};

struct StripRect {
    int left;
    int top;
    int right; // exclusive
    int bottom;
};

// The grid for a strip `width` pixels wide (its client width).
StripGrid ComputeStripGrid(int width, const StripMetrics& metrics);

// The icon's top-left corner of entry `index` at the given scroll position (in text lines).
void StripIconPosition(const StripGrid& grid, const StripMetrics& metrics, int index,
                       int scrollPosition, int* x, int* y);

// The rectangle that a click must hit to select entry `index`: the icon and its two text lines.
StripRect StripHitRect(const StripGrid& grid, const StripMetrics& metrics, int index,
                       int scrollPosition);

// The first of `count` entries whose hit rectangle holds the point, or -1.
int StripHitTest(const StripGrid& grid, const StripMetrics& metrics, int count, int scrollPosition,
                 int x, int y);

// The upper end of the scroll range for `count` entries: one row gives 0.
int StripScrollMaximum(const StripGrid& grid, int count);

// Where a label `length` characters long starts so that it is centred under the icon at x.
int StripLabelX(const StripMetrics& metrics, int iconX, int length);
