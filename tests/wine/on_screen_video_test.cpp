// The video window on a real display (a private Xvfb, the X11 driver: scripts/test.sh runs the
// OnScreen* tests there) with the test microphone and the local SMTP server.
//
// A clip: while a window of this test shows a moving pattern and the microphone plays a spoken
// phrase, the Screen source records; the clip is attached and sent. Measures:
// - ffprobe: Motion-JPEG video of the size the source reports, 10 frames a second, and 8000 Hz
//   mono 8-bit PCM sound, both in the file attached and in the one received;
// - the pattern: ten cells, one of them lit, the lit one moving on every 100 ms. In the frames
//   ffmpeg decodes, the lit cell must stand out (its mean brightness at least 100 above every
//   other cell's) in 90% of the frames, at least 8 different cells must be seen lit, and from
//   frame to frame it must move 0, 1 or 2 cells forward in 90% of the steps;
// - the received attachment is byte for byte the attached file; it is left in the speech
//   folder as mail-video.avi, where scripts/check-speech.py looks for the phrase in its sound
//   by the loudness envelope, as for the voice files (correlation at least 0.8).
// A snapshot: decoded by djpeg it is baseline JFIF with 3 components at the source's size, and
// its PSNR against snapshot.bmp is at least 30 dB.
//
// By hand: the peers of voice_mail_test.cpp, and a display for the X11 prefix:
//   source scripts/xvfb.sh && kestro_start_xvfb force && export KESTRO_WINE_MODE=display
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../unit/support/mail_decoding.h"
#include "../unit/video/jpeg_check.h"
#include "compose/win/attachments.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"
#include "support/video_recording.h"
#include "support/voice_recording.h"
#include "video/bmp_file.h"
#include "video/screen_capture_rules.h"

namespace {

constexpr int kCells = 10;
constexpr int kCellWidth = 20; // the row ends left of the video window
constexpr int kPatternHeight = 240;

// A window of its own thread, at the top left of the screen above everything, that lights
// cell (time / 100 ms) mod 10 of a row of ten.
class PatternWindow {
  public:
    PatternWindow() { thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_); }
    ~PatternWindow() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }

  private:
    static int LitCell() { return static_cast<int>(GetTickCount() / 100 % kCells); }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER) {
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        if (message != WM_PAINT) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int cell = 0; cell < kCells; ++cell) {
            RECT area = {cell * kCellWidth, 0, (cell + 1) * kCellWidth, kPatternHeight};
            HBRUSH brush = CreateSolidBrush(cell == LitCell() ? RGB(255, 255, 255) : RGB(0, 0, 90));
            FillRect(dc, &area, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    }

    static DWORD WINAPI Run(void*) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KESTRO_TEST_PATTERN";
        RegisterClassA(&windowClass);
        HWND window =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "",
                            WS_POPUP | WS_VISIBLE, 0, 0, kCells * kCellWidth, kPatternHeight,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
        SetTimer(window, 1, 20, nullptr);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(window);
        return 0;
    }

    HANDLE thread_;
    DWORD threadId_ = 0;
};

// The data chunk of a WAV file (the phrase as the microphone plays it).
std::string WaveData(const std::string& wave) {
    const size_t at = wave.find("data");
    return at == std::string::npos ? "" : wave.substr(at + 8);
}

ScreenFrameSize SourceSize() {
    return ScaledScreenSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

class OnScreenVideo : public Sending {
  protected:
    void SetUp() override {
        if (Environment("DISPLAY").empty() || !TestSoundDeviceRunning() || SinkPort() <= 0 ||
            SpeechFolder().empty()) {
            GTEST_SKIP() << "needs a display, the test microphone, the SMTP server and the "
                            "spoken recordings: see the comment at the top of this file";
        }
        Sending::SetUp();
        SelectVideoEncoder(folder_, 0);
    }
};

// Mean brightness of each cell in a decoded frame, inside the cell's middle.
std::vector<double> CellBrightness(const std::string& frame, int width, double scale) {
    std::vector<double> cells;
    for (int cell = 0; cell < kCells; ++cell) {
        const int centre = static_cast<int>((cell * kCellWidth + kCellWidth / 2) * scale);
        double sum = 0;
        int count = 0;
        for (int y = static_cast<int>(40 * scale); y < static_cast<int>(200 * scale); ++y) {
            for (int x = centre - 3; x <= centre + 3; ++x) {
                const unsigned char* p =
                    reinterpret_cast<const unsigned char*>(&frame[(y * width + x) * 3]);
                sum += (p[0] + p[1] + p[2]) / 3.0;
                ++count;
            }
        }
        cells.push_back(sum / count);
    }
    return cells;
}

TEST_F(OnScreenVideo, AClipOfTheScreenWithVoiceIsSentAndArrivesIntact) {
    const std::string raw = folder_ + "phrase.u8";
    WriteWholeFile(raw, WaveData(ReadWholeFile(SpeechFolder() + "mail-phrase-8k-8bit.wav")));
    DeleteFileA((SpeechFolder() + "mail-video.avi").c_str());
    {
        PatternWindow pattern;
        std::unique_ptr<UnixCommand> feed;
        ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
            // Wine's capture stream starts late: the phrase begins after a second.
            After(1000,
                  [&] { feed = std::make_unique<UnixCommand>(FeedMicrophone(folder_, raw)); });
            RecordFor(window, 6500);
            Press(window, IDC_VIDEO_ATTACH);
        }));
        ASSERT_TRUE(feed != nullptr);
        EXPECT_EQ(feed->Wait(10000), 0);
    }
    ASSERT_EQ(AttachmentCount(), 1);
    const std::string clip = folder_ + "videomsg.avi";
    const ScreenFrameSize size = SourceSize();
    const auto streams = ProbeStreams(folder_, clip);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].at("codec_name"), "mjpeg");
    EXPECT_EQ(streams[0].at("width"), std::to_string(size.width));
    EXPECT_EQ(streams[0].at("height"), std::to_string(size.height));
    EXPECT_EQ(streams[0].at("r_frame_rate"), "10/1");
    EXPECT_EQ(streams[1].at("codec_name"), "pcm_u8");
    EXPECT_EQ(streams[1].at("sample_rate"), "8000");
    EXPECT_EQ(streams[1].at("channels"), "1");

    const std::vector<std::string> frames = DecodeFrames(folder_, clip, size.width, size.height);
    ASSERT_GE(frames.size(), 55u) << "6.5 s at 10 frames a second";
    const double scale = static_cast<double>(size.width) / GetSystemMetrics(SM_CXSCREEN);
    int clear = 0;
    int steady = 0;
    int previous = -1;
    std::set<int> seen;
    for (const std::string& frame : frames) {
        std::vector<double> cells = CellBrightness(frame, size.width, scale);
        const int lit =
            static_cast<int>(std::max_element(cells.begin(), cells.end()) - cells.begin());
        const double brightest = cells[lit];
        cells[lit] = 0;
        if (brightest - *std::max_element(cells.begin(), cells.end()) >= 100) {
            ++clear;
            seen.insert(lit);
        }
        steady += previous >= 0 && (lit - previous + kCells) % kCells <= 2 ? 1 : 0;
        previous = lit;
    }
    std::printf("pattern: %d of %zu frames clear, %zu cells seen, %d of %zu steps steady\n", clear,
                frames.size(), seen.size(), steady, frames.size() - 1);
    EXPECT_GE(clear, static_cast<int>(frames.size() * 9 / 10));
    EXPECT_GE(seen.size(), 8u);
    EXPECT_GE(steady, static_cast<int>((frames.size() - 1) * 9 / 10));

    SetWindowTextA(Edit(IDC_TO_EDIT), "bob@example.net");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "A video message");
    const Delivered received = Send([](HWND sent) { SendMessageA(sent, WM_COMMAND, IDOK, 0); });
    ASSERT_FALSE(received.data.empty()) << "nothing arrived";
    EXPECT_NE(received.data.find("Content-Type: video/avi; name=\"videomsg.avi\""),
              std::string::npos);
    const std::string text = CheckAttachment(received.data, "videomsg.avi", ReadWholeFile(clip));
    WriteWholeFile(SpeechFolder() + "mail-video.avi", DecodeBase64ForTest(text));
    EXPECT_EQ(ProbeStreams(folder_, SpeechFolder() + "mail-video.avi"), streams);
}

TEST_F(OnScreenVideo, ASnapshotIsABaselineJfifCloseToTheGrabbedFrame) {
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        Press(window, IDC_VIDEO_PICTURE);
        Press(window, IDC_VIDEO_ATTACH);
    }));
    ASSERT_EQ(AttachmentCount(), 1);
    const std::string ppm = folder_ + "snapshot.ppm";
    const std::string info = folder_ + "djpeg.txt";
    UnixCommand djpeg(folder_, "djpeg -verbose -ppm -outfile " + Quoted(ppm) + " " +
                                   Quoted(folder_ + "snapshot.jpg") + " 2> " + Quoted(info));
    ASSERT_EQ(djpeg.Wait(20000), 0);
    const ScreenFrameSize size = SourceSize();
    const std::string said = ReadWholeFile(info);
    EXPECT_NE(said.find("JFIF APP0 marker"), std::string::npos) << said;
    char frame[128];
    std::snprintf(frame, sizeof frame, "Start Of Frame 0xc0: width=%d, height=%d, components=3",
                  size.width, size.height);
    EXPECT_NE(said.find(frame), std::string::npos) << said;

    const std::string decoded = ReadWholeFile(ppm);
    const std::string header =
        "P6\n" + std::to_string(size.width) + " " + std::to_string(size.height) + "\n255\n";
    ASSERT_EQ(decoded.compare(0, header.size(), header), 0);
    const std::string bmp = ReadWholeFile(folder_ + "snapshot.bmp");
    BmpImage grabbed;
    ASSERT_EQ(DecodeBmp(reinterpret_cast<const unsigned char*>(bmp.data()), bmp.size(), grabbed),
              0);
    const std::vector<unsigned char> pixels(decoded.begin() + header.size(), decoded.end());
    const double psnr = Psnr(pixels, grabbed.rgb);
    std::printf("snapshot PSNR %.1f dB\n", psnr);
    EXPECT_GE(psnr, 30.0);
}

} // namespace
