#include "video/screen_capture_rules.h"

#include <cstdio>

ScreenFrameSize ScaledScreenSize(int desktopWidth, int desktopHeight, int largestWidth) {
    if (desktopWidth <= 0 || desktopHeight <= 0 || largestWidth < 2) {
        return ScreenFrameSize{0, 0};
    }
    int64_t width = desktopWidth;
    int64_t height = desktopHeight;
    if (width > largestWidth) {
        // Rounded to the nearest even height.
        height =
            (2 * desktopHeight * static_cast<int64_t>(largestWidth) / desktopWidth + 2) / 4 * 2;
        width = largestWidth;
    }
    width &= ~int64_t{1};
    height &= ~int64_t{1};
    return ScreenFrameSize{static_cast<int>(width < 2 ? 2 : width),
                           static_cast<int>(height < 2 ? 2 : height)};
}

uint32_t FramesDue(uint64_t elapsedMicroseconds, uint32_t microSecPerFrame) {
    if (microSecPerFrame == 0) {
        return 1;
    }
    const uint64_t due = elapsedMicroseconds / microSecPerFrame + 1;
    return due > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(due);
}

void FormatCaptureStatistics(uint32_t elapsedMilliseconds, uint32_t frames, uint32_t dropped,
                             uint32_t audioBytes, uint32_t audioBytesPerSecond, char* out,
                             size_t size) {
    const uint32_t tenths = elapsedMilliseconds / 100;
    const uint32_t fpsTenths = elapsedMilliseconds == 0
                                   ? 0
                                   : static_cast<uint32_t>(frames * 10000ull / elapsedMilliseconds);
    std::snprintf(out, size,
                  "Captured %u.%u sec.  %u frames (%u dropped) (%u.%u fps).  %u audio bytes "
                  "(%u bytes/sec)",
                  tenths / 10, tenths % 10, frames, dropped, fpsTenths / 10, fpsTenths % 10,
                  audioBytes, audioBytesPerSecond);
}
