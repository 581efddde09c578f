// The video window over the Screen capture source (under the null graphics driver its pictures
// are black, which is all these tests need): the size it takes for the source's picture, the
// message for a missing driver, what Attach makes of a recording, a snapshot or both, refused
// names, RealVideo, Cancel, and a raw clip compressed to Motion-JPEG with its progress captions.
// Recordings take their sound from the test microphone when scripts/test.sh runs the tests
// (scripts/sound-device.sh); without it a clip may have no sound stream. ffprobe (Debian's
// ffmpeg) reads clips.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../unit/video/test_pictures.h"
#include "app/win/app_state.h"
#include "compose/win/attachments.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"
#include "support/video_recording.h"
#include "support/voice_recording.h"
#include "video/avi_reader.h"
#include "video/avi_writer.h"
#include "video/video_layout.h"
#include "video/win/capture_window.h"

namespace {

// A capture driver of 100 x 80 pictures that does nothing else; it takes driver index 1, after
// the Screen source.
bool AnswerSmallDriver(const CaptureSourceCall&, UINT message, WPARAM size, LPARAM out,
                       LRESULT& result) {
    if (message == WM_CAP_DRIVER_CONNECT) {
        result = TRUE;
    } else if (message == WM_CAP_GET_STATUS && size >= sizeof(CAPSTATUS)) {
        auto* status = reinterpret_cast<CAPSTATUS*>(out);
        status->uiImageWidth = 100;
        status->uiImageHeight = 80;
        result = TRUE;
    }
    return message >= WM_CAP_START;
}

class VideoWindow : public MainWindowTest {
  protected:
    void SetUp() override {
        static bool added = false;
        if (!added) {
            AddOwnCaptureSource({"Small", "1", AnswerSmallDriver});
            added = true;
        }
        MainWindowTest::SetUp();
        SelectVideoEncoder(folder_, 0);
    }

    std::string InitialSettingsFile() const override {
        return MainWindowTest::InitialSettingsFile() + "VIDEOINDEX=" + std::to_string(videoIndex_) +
               "\n";
    }

    // An attachment's path, and the program folder's file it should be (paths are kept in
    // lower case).
    std::string Attached(int slot) const { return attachmentTable.slots[slot].path; }
    std::string InFolder(const char* name) const {
        std::string path = folder_ + name;
        CharLowerA(&path[0]);
        return path;
    }

    SIZE WindowSize(HWND window) const {
        RECT rect;
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    int videoIndex_ = 0;
};

TEST_F(VideoWindow, TakesTheSizeOfTheSourcesPictureAndProposesANameForTheClip) {
    char name[64] = {};
    char version[64] = {};
    ASSERT_TRUE(CaptureDriverDescription(0, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(name, "Screen") << "index 0: this machine has no camera";
    SIZE size = {};
    std::string proposed;
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        size = WindowSize(window);
        proposed = TextOf(GetDlgItem(window, IDC_VIDEO_FILE_NAME));
        Press(window, IDC_VIDEO_CANCEL);
    }));
    CAPSTATUS status = {};
    HWND probe = CreateCaptureWindow(app.instance, "", 0, 0, 0, 10, 10, window_, 0);
    SendMessageA(probe, WM_CAP_DRIVER_CONNECT, 0, 0);
    SendMessageA(probe, WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
    DestroyWindow(probe);
    const VideoRect expected = VideoWindowSize(status.uiImageWidth, status.uiImageHeight);
    EXPECT_EQ(size.cx, expected.width);
    EXPECT_EQ(size.cy, expected.height);
    EXPECT_EQ(proposed, "videomsg.avi");
}

class SmallVideoWindow : public VideoWindow {
  protected:
    SmallVideoWindow() { videoIndex_ = 1; }
};

TEST_F(SmallVideoWindow, IsNeverNarrowerThan315) {
    SIZE size = {};
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        size = WindowSize(window);
        Press(window, IDCANCEL);
    }));
    EXPECT_EQ(size.cx, 315);
    EXPECT_EQ(size.cy, 80 + 212);
}

class VideoWindowPastEveryDriver : public VideoWindow {
  protected:
    VideoWindowPastEveryDriver() { videoIndex_ = 3; }
};

TEST_F(VideoWindowPastEveryDriver, SaysTheDeviceWasNotDetected) {
    EXPECT_FALSE(RunInVideoWindow(window_, [](HWND window) { Press(window, IDCANCEL); }));
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Video Recording");
    EXPECT_EQ(MessageBoxes::Calls()[0].text.find("The specified Video Device was not Detected.\n"),
              0u);
}

TEST_F(VideoWindow, ARecordingIsAttachedAsTheMotionJpegClipTheSourceWrote) {
    std::string caption;
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        RecordFor(window, 1200);
        caption = TextOf(window);
        Press(window, IDC_VIDEO_ATTACH);
    }));
    EXPECT_EQ(caption, "Recording finished");
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(Attached(0), InFolder("videomsg.avi"));
    EXPECT_FALSE(FileExists(folder_ + "avitemp.avi"));
    const auto streams = ProbeStreams(folder_, InFolder("videomsg.avi"));
    ASSERT_FALSE(streams.empty());
    EXPECT_EQ(streams[0].at("codec_name"), "mjpeg");
    EXPECT_EQ(streams[0].at("r_frame_rate"), "10/1");
    EXPECT_GE(std::stoi(streams[0].at("nb_frames")), 8);
    if (TestSoundDeviceRunning()) {
        ASSERT_EQ(streams.size(), 2u) << "the microphone's sound";
    }
    if (streams.size() == 2) {
        EXPECT_EQ(streams[1].at("codec_name"), "pcm_u8");
        EXPECT_EQ(streams[1].at("sample_rate"), "8000");
        EXPECT_EQ(streams[1].at("channels"), "1");
    }

    std::string proposed;
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        proposed = TextOf(GetDlgItem(window, IDC_VIDEO_FILE_NAME));
        Press(window, IDC_VIDEO_CANCEL);
    }));
    EXPECT_EQ(proposed, "videom01.avi");
}

TEST_F(VideoWindow, AttachTakesWhicheverWasTakenLast) {
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        RecordFor(window, 500);
        Press(window, IDC_VIDEO_PICTURE);
        Press(window, IDC_VIDEO_ATTACH);
    }));
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        Press(window, IDC_VIDEO_PICTURE);
        RecordFor(window, 500);
        Press(window, IDC_VIDEO_ATTACH);
    }));
    ASSERT_EQ(AttachmentCount(), 2);
    EXPECT_EQ(Attached(0), InFolder("snapshot.jpg"));
    EXPECT_EQ(Attached(1), InFolder("videomsg.avi"));
    EXPECT_TRUE(FindResourceA(nullptr, "SNAPSHOT", "WAVE") != nullptr) << "the shutter sound";
}

TEST_F(VideoWindow, RefusedNamesKeepTheWindowOpenForAnother) {
    std::vector<std::string> captions;
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        HWND name = GetDlgItem(window, IDC_VIDEO_FILE_NAME);
        RecordFor(window, 400);
        for (const char* typed : {"a:b", "avitemp.avi", "clip"}) {
            SetWindowTextA(name, typed);
            Press(window, IDC_VIDEO_ATTACH);
            EXPECT_EQ(IsWindowVisible(window) != 0, std::string(typed) != "clip") << typed;
        }
    }));
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        HWND name = GetDlgItem(window, IDC_VIDEO_FILE_NAME);
        Press(window, IDC_VIDEO_PICTURE);
        SetWindowTextA(name, "x|y.avi");
        Press(window, IDC_VIDEO_ATTACH);
        EXPECT_EQ(GetFocus(), name);
        SetWindowTextA(name, "pic.avi");
        Press(window, IDC_VIDEO_ATTACH);
    }));
    for (const MessageBoxCall& call : MessageBoxes::Calls()) {
        captions.push_back(call.caption);
    }
    EXPECT_EQ(captions,
              std::vector<std::string>({"Rename Video File", "AVI error", "Rename Snapshot File"}));
    ASSERT_EQ(AttachmentCount(), 2);
    EXPECT_EQ(Attached(0), InFolder("clip.avi"));
    EXPECT_EQ(Attached(1), InFolder("pic.jpg"));
}

TEST_F(VideoWindow, RealVideoGetsTheCaptureFileAndTheRmName) {
    SelectVideoEncoder(folder_, 1);
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        EXPECT_EQ(TextOf(GetDlgItem(window, IDC_VIDEO_FILE_NAME)), "videomsg.rm");
        RecordFor(window, 400);
        SetWindowTextA(GetDlgItem(window, IDC_VIDEO_FILE_NAME), "clip.avi");
        Press(window, IDC_VIDEO_ATTACH);
    }));
    // The main window ran the encoder command it was posted; kto2rm.exe is not here.
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Real Video encoder not found!");
    EXPECT_STREQ(encoderOutputName, "clip.rm");
    EXPECT_TRUE(FileExists(folder_ + "avitemp.avi")) << "the encoder's input";
    EXPECT_EQ(AttachmentCount(), 0);
}

TEST_F(VideoWindow, CancelDeletesTheCaptureFileOnlyAfterARecording) {
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        RecordFor(window, 400);
        Press(window, IDC_VIDEO_ATTACH);
    }));
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        WriteWholeFile(folder_ + "avitemp.avi", "kept");
        Press(window, IDC_VIDEO_CANCEL);
    }));
    EXPECT_TRUE(FileExists(folder_ + "avitemp.avi")) << "no recording since the last Attach";
    ASSERT_TRUE(RunInVideoWindow(window_, [](HWND window) {
        RecordFor(window, 400);
        Press(window, IDCANCEL);
    }));
    EXPECT_FALSE(FileExists(folder_ + "avitemp.avi"));
}

// The captions the window shows, in their order.
std::vector<std::string> captionsSeen;
HWND watchedWindow = nullptr;

LRESULT CALLBACK WatchCaptions(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->hwnd == watchedWindow && message->message == WM_SETTEXT) {
        captionsSeen.push_back(reinterpret_cast<const char*>(message->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A raw clip as a capture driver without a compressor stores it: 24-bit frames, 8-bit sound.
void WriteRawClip(const std::string& path, int frames) {
    AviMainHeader main = {100000, 0, 0, kAviHasIndex | kAviIsInterleaved, 0, 0, 2, 0, 160, 120};
    AviStreamSpec video = {};
    video.header = {kVideoStreamType, 0, 0, 0, 0, 0, 100000, 1000000, 0, 0, 0, 0, 0, {}};
    video.format = EncodeBitmapFormat({160, 120, 24, 0, 160 * 120 * 3});
    std::memcpy(video.chunkType, "db", 3);
    AviStreamSpec sound = {};
    sound.header = {kAudioStreamType, 0, 0, 0, 0, 0, 1, 8000, 0, 0, 0, 0, 1, {}};
    sound.format = EncodePcmFormat(1, 8000, 8);
    std::memcpy(sound.chunkType, "wb", 3);
    AviWriter writer;
    ASSERT_TRUE(OpenAviWriter(writer, path.c_str(), main, {video, sound}));
    for (int i = 0; i < frames; ++i) {
        const std::string rows = StoredRows24(TestPicture(160, 120, i), 160, 120);
        WriteAviChunk(writer, 0, rows.data(), static_cast<uint32_t>(rows.size()), true);
        WriteAviChunk(writer, 1, std::string(800, static_cast<char>(100 + i)).data(), 800, true);
    }
    ASSERT_TRUE(CloseAviWriter(writer));
}

TEST_F(VideoWindow, ARawCaptureIsCompressedToMotionJpegWithProgressCaptions) {
    captionsSeen.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchCaptions, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(RunInVideoWindow(window_, [&](HWND window) {
        RecordFor(window, 300);
        WriteRawClip(folder_ + "avitemp.avi", 20); // in place of what the source recorded
        watchedWindow = window;
        Press(window, IDC_VIDEO_ATTACH);
        watchedWindow = nullptr;
    }));
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_EQ(AttachmentCount(), 1);
    ASSERT_FALSE(captionsSeen.empty());
    const std::string prefix = "Compressing - Percent Done ... ";
    int last = -1;
    for (const std::string& caption : captionsSeen) {
        ASSERT_EQ(caption.compare(0, prefix.size(), prefix), 0) << caption;
        const int percent = std::stoi(caption.substr(prefix.size()));
        EXPECT_GT(percent, last);
        last = percent;
    }
    EXPECT_EQ(captionsSeen.back(), prefix + "100%") << "and nothing after";

    const auto streams = ProbeStreams(folder_, InFolder("videomsg.avi"));
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].at("codec_name"), "mjpeg");
    EXPECT_EQ(streams[0].at("width"), "160");
    EXPECT_EQ(streams[0].at("nb_frames"), "20");
    EXPECT_EQ(streams[1].at("codec_name"), "pcm_u8");
}

} // namespace
