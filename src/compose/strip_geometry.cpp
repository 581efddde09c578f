#include "compose/strip_geometry.h"

StripGrid ComputeStripGrid(int width, const StripMetrics& metrics) {
    StripGrid grid = {};
    grid.cellWidth = 13 * metrics.charWidth + 5;
    grid.rowHeight = metrics.iconHeight + 2 * metrics.textHeight + 10;
    if (grid.cellWidth < 1) {
        grid.cellWidth = 1; // no font metrics: keep the divisions below defined
    }
    if (width < 0) {
        width = 0;
    }
    int columns = (width + grid.cellWidth - 1) / grid.cellWidth;
    if (columns * grid.cellWidth > width) {
        // The last column does not fit: drop it and centre the others.
        grid.margin = (width - grid.cellWidth * (columns - 1)) / 2 + 5;
        --columns;
    }
    grid.columns = columns < 1 ? 1 : columns;
    return grid;
}

void StripIconPosition(const StripGrid& grid, const StripMetrics& metrics, int index,
                       int scrollPosition, int* x, int* y) {
    const int column = index % grid.columns;
    const int row = index / grid.columns;
    *x = grid.margin + grid.cellWidth * column + 3 * metrics.charWidth;
    *y = grid.rowHeight * row - scrollPosition * metrics.textHeight + 2;
}

StripRect StripHitRect(const StripGrid& grid, const StripMetrics& metrics, int index,
                       int scrollPosition) {
    int x = 0;
    int y = 0;
    StripIconPosition(grid, metrics, index, scrollPosition, &x, &y);
    return {x, y, x + metrics.iconWidth, y + metrics.iconHeight + 2 * metrics.textHeight};
}

int StripHitTest(const StripGrid& grid, const StripMetrics& metrics, int count, int scrollPosition,
                 int x, int y) {
    for (int i = 0; i < count; ++i) {
        const StripRect r = StripHitRect(grid, metrics, i, scrollPosition);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return i;
        }
    }
    return -1;
}

int StripScrollMaximum(const StripGrid& grid, int count) {
    int rows = (count + grid.columns - 1) / grid.columns;
    if (rows < 1) {
        rows = 1;
    }
    // ceiling(rows x 4.6) - 5, in whole numbers
    return (rows * 46 + 9) / 10 - 5;
}

int StripLabelX(const StripMetrics& metrics, int iconX, int length) {
    return iconX + metrics.iconWidth / 2 - length * metrics.charWidth / 2;
}
