// Not a test: the video figures `make bench` prints (scripts/bench-video.sh). Disabled, so that
// no test run depends on the speed of the machine; each fails only when its work fails.
// - Motion-JPEG compression of the raw clip KESTRO_BENCH_RAW_AVI names, the code the video
//   window runs when no Indeo codec is installed: the best of three runs.
// - The Screen source recording for KESTRO_BENCH_SECONDS at the window's 10 frames a second
//   (needs a display): the frames it took and the frames it had to leave empty.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/harness.h"
#include "support/unix_command.h"
#include "video/avi_reader.h"
#include "video/motion_jpeg.h"
#include "video/win/capture_window.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

TEST(DISABLED_VideoBench, MotionJpegCompression) {
    const std::string raw = Environment("KESTRO_BENCH_RAW_AVI");
    if (raw.empty()) {
        GTEST_SKIP() << "KESTRO_BENCH_RAW_AVI is not set: scripts/bench-video.sh sets it";
    }
    const std::string out = raw.substr(0, raw.rfind('\\') + 1) + "kestro-mjpeg.avi";
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const double start = Now();
        ASSERT_EQ(CompressToMotionJpeg(raw.c_str(), out.c_str(), nullptr, nullptr),
                  MotionJpegResult::Written);
        best = std::min(best, Now() - start);
    }
    AviByteSource source;
    ASSERT_TRUE(OpenAviFileSource(out.c_str(), source));
    AviContents contents;
    ASSERT_EQ(ReadAviContents(source, contents), AviReadResult::Ok);
    std::printf("BENCH mjpeg-seconds %.3f\nBENCH mjpeg-frames %u\n", best,
                contents.main.totalFrames);
}

TEST(DISABLED_VideoBench, ScreenSourceFrameRate) {
    const int seconds = std::atoi(Environment("KESTRO_BENCH_SECONDS").c_str());
    if (Environment("DISPLAY").empty() || seconds <= 0) {
        GTEST_SKIP() << "needs a display and KESTRO_BENCH_SECONDS: scripts/bench-video.sh";
    }
    const std::string folder = MakeTempFolder("kestro-bench");
    const std::string file = folder + "screen.avi";
    HWND capture = CreateCaptureWindow(GetModuleHandleA(nullptr), "", WS_POPUP | WS_VISIBLE, 0, 0,
                                       160, 120, nullptr, 0);
    ASSERT_TRUE(SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 0, 0)) << "the Screen source";
    CAPTUREPARMS parms = {};
    SendMessageA(capture, WM_CAP_GET_SEQUENCE_SETUP, sizeof parms,
                 reinterpret_cast<LPARAM>(&parms));
    parms.dwRequestMicroSecPerFrame = 100000;
    parms.wNumVideoRequested = 10000;
    parms.fCaptureAudio = FALSE;
    parms.fAbortLeftMouse = parms.fAbortRightMouse = FALSE;
    parms.fLimitEnabled = TRUE; // nothing else runs this thread's messages while it records
    parms.wTimeLimit = static_cast<UINT>(seconds);
    SendMessageA(capture, WM_CAP_SET_SEQUENCE_SETUP, sizeof parms,
                 reinterpret_cast<LPARAM>(&parms));
    SendMessageA(capture, WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(file.c_str()));
    ASSERT_TRUE(SendMessageA(capture, WM_CAP_SEQUENCE, 0, 0));
    DestroyWindow(capture);

    AviByteSource source;
    ASSERT_TRUE(OpenAviFileSource(file.c_str(), source));
    AviContents contents;
    ASSERT_EQ(ReadAviContents(source, contents), AviReadResult::Ok);
    int taken = 0;
    int empty = 0;
    for (const AviChunk& chunk : contents.chunks) {
        (chunk.size > 0 ? taken : empty) += 1;
    }
    std::printf("BENCH screen-width %u\nBENCH screen-frames %d\nBENCH screen-empty %d\n"
                "BENCH screen-fps %.2f\n",
                contents.main.width, taken, empty, taken / static_cast<double>(seconds));
    RemoveFolder(folder);
}

} // namespace
