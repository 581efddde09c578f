#include "voice/recorder_layout.h"

RecorderControlsLayout LayoutRecorderControls(int textHeight, int clientLeft, int clientRight,
                                              int clientBottom) {
    const int x0 = clientRight * 3 / 8;
    const int y0 = textHeight / 2 + clientBottom * 13 / 32;
    const int nameWidth = x0 - clientLeft - 80;
    RecorderControlsLayout layout = {};
    layout.record = {x0, y0, kRecorderKeyWidth, kRecorderKeyHeight};
    layout.stop = {x0 + 50, y0, kRecorderKeyWidth, kRecorderKeyHeight};
    layout.play = {x0 + 100, y0, kRecorderKeyWidth, kRecorderKeyHeight};
    layout.nameLabel = {clientLeft + 8, y0 - 26, nameWidth, 25};
    layout.nameEdit = {clientLeft + 75, y0 - 30, nameWidth, 25};
    return layout;
}

RecorderBar RecorderBarArea(int clientLeft, int clientRight) {
    return RecorderBar{clientLeft + 16, clientRight - 15, 11, 17};
}

RecorderBarFrame RecorderBarFrameLines(int clientLeft, int clientRight) {
    const int left = clientLeft + 15;
    const int right = clientRight - 15;
    RecorderBarFrame frame = {};
    frame.gray[0] = {left, 10, right, 10};
    frame.gray[1] = {left, 10, left, 17};
    frame.white[0] = {left, 17, right, 17};
    frame.white[1] = {right, 10, right, 18};
    return frame;
}

int BarFillEnd(const RecorderBar& bar, uint64_t part, uint64_t whole) {
    const int width = bar.right - bar.left;
    if (whole == 0 || width <= 0) {
        return bar.left;
    }
    if (part > whole) {
        part = whole;
    }
    return bar.left + static_cast<int>(static_cast<uint64_t>(width) * part / whole);
}

int32_t MeterLevel(int32_t value) {
    // The absolute value of the most negative number does not exist; it is full scale anyway.
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    return magnitude > kLevelFullScale ? kLevelFullScale : static_cast<int32_t>(magnitude);
}

int MeterFillEnd(const RecorderBar& bar, int32_t peakValue) {
    return BarFillEnd(bar, static_cast<uint64_t>(MeterLevel(peakValue)), kLevelFullScale);
}
