// The arithmetic and texts of the Screen capture source: the picture size it records the desktop
// at, when each frame is due, and the status texts it reports.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kScreenLargestWidth = 640;

struct ScreenFrameSize {
    int width;
    int height;
};

// The desktop scaled to at most `largestWidth` pixels wide, keeping its aspect; both sides are
// even (2 x 2 chroma blocks) and at least 2. A desktop narrower than that keeps its size.
ScreenFrameSize ScaledScreenSize(int desktopWidth, int desktopHeight,
                                 int largestWidth = kScreenLargestWidth);

// The number of frames that should be in the file `elapsedMicroseconds` after the start, at
// one frame every `microSecPerFrame` (frame 0 at the start).
uint32_t FramesDue(uint64_t elapsedMicroseconds, uint32_t microSecPerFrame);

// The statistics report at the end of a recording, beginning "Captured <s>.<t> sec".
void FormatCaptureStatistics(uint32_t elapsedMilliseconds, uint32_t frames, uint32_t dropped,
                             uint32_t audioBytes, uint32_t audioBytesPerSecond, char* out,
                             size_t size);

inline constexpr char kScreenSourceName[] = "Screen";
inline constexpr char kScreenSourceVersion[] = "Kestro screen capture 1.0";
inline constexpr char kCaptureStartedText[] = "Recording - click or press Esc to stop";
inline constexpr char kCaptureEndedText[] = "Recording finished";
