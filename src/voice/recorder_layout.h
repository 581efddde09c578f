// Where the voice recorder window puts its controls and draws its bar, in pixels of its client
// area. The text metrics are those of the window's own device context (its default font).
#pragma once

#include <cstdint>

constexpr int kRecorderKeyWidth = 37; // the Record, Stop and Play keys
constexpr int kRecorderKeyHeight = 25;
constexpr int kAnimationX = 24;
constexpr int kAnimationY = 90;
constexpr int kAnimationSize = 40;
constexpr int32_t kLevelFullScale = 32700;

struct RecorderRect {
    int x;
    int y;
    int width;
    int height;
};

struct RecorderControlsLayout {
    RecorderRect record;
    RecorderRect stop;
    RecorderRect play;
    RecorderRect nameLabel;
    RecorderRect nameEdit;
};

// The client rectangle's left, right and bottom and the text height give the five controls.
RecorderControlsLayout LayoutRecorderControls(int textHeight, int clientLeft, int clientRight,
                                              int clientBottom);

// The bar: x from left + 16 to right - 15 (exclusive), y from 11 to 17 (exclusive).
struct RecorderBar {
    int left;
    int right;
    int top;
    int bottom;
};
RecorderBar RecorderBarArea(int clientLeft, int clientRight);

// The four lines of the frame around the bar: two gray ones (top, left), two white ones
// (bottom, right), each from (x1, y1) to (x2, y2).
struct RecorderLine {
    int x1;
    int y1;
    int x2;
    int y2;
};
struct RecorderBarFrame {
    RecorderLine gray[2];
    RecorderLine white[2];
};
RecorderBarFrame RecorderBarFrameLines(int clientLeft, int clientRight);

// The x where the filled part of the bar ends: left + width x part / whole, kept inside the bar;
// left when whole is 0.
int BarFillEnd(const RecorderBar& bar, uint64_t part, uint64_t whole);

// A peak meter value as a level for the bar: its absolute value, at most 32700.
int32_t MeterLevel(int32_t value);

// Where the level meter's green part ends and its red part begins for a peak meter value:
// left + width x level / 32700.
int MeterFillEnd(const RecorderBar& bar, int32_t peakValue);
