// The video window's rules: proposed and typed names, what Attach and Cancel do after each
// sequence of presses, the status reports, the window size, the compressed-capture test, the
// progress caption and the Screen source's arithmetic.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "video/capture_state.h"
#include "video/screen_capture_rules.h"
#include "video/video_attach_rules.h"
#include "video/video_layout.h"
#include "video/video_names.h"

namespace {

AttachmentTable TableOf(const std::vector<std::string>& paths) {
    AttachmentTable table = {};
    for (size_t i = 0; i < paths.size(); ++i) {
        std::strcpy(table.slots[i].path, paths[i].c_str());
    }
    return table;
}

std::vector<std::string> Numbered(const char* stem, int count, const char* extension) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "c:\\kestro\\%s%02d%s", stem, i, extension);
        paths.push_back(name);
    }
    return paths;
}

TEST(VideoNames, ProposalsCountEarlierClipsAndSnapshots) {
    const struct {
        std::vector<std::string> attached;
        int selection;
        const char* video;
        const char* snapshot;
    } cases[] = {
        {{}, 0, "videomsg.avi", "snapshot.jpg"},
        {{}, 1, "videomsg.rm", "snapshot.jpg"},
        {{"c:\\k\\videomsg.avi", "c:\\k\\videom01.avi"}, 0, "videom02.avi", "snapshot.jpg"},
        {Numbered("videom", 10, ".rm"), 0, "videom10.avi", "snapshot.jpg"},
        {{"c:\\k\\snapshot.jpg", "c:\\k\\a.txt", "c:\\k\\videomsg.avi"},
         1,
         "videom01.rm",
         "snapsh01.jpg"},
        {Numbered("snapsh", 12, ".jpg"), 0, "videomsg.avi", "snapsh12.jpg"},
        {{"videom.avi", "c:\\k\\xvideomsg.avi1"}, 0, "videomsg.avi", "snapshot.jpg"},
        {{}, -1, "", "snapshot.jpg"},
        {{}, 2, "", "snapshot.jpg"},
    };
    for (const auto& c : cases) {
        const AttachmentTable table = TableOf(c.attached);
        char video[kVideoNameBufferSize] = "x";
        char snapshot[kVideoNameBufferSize] = "x";
        EXPECT_EQ(DefaultVideoName(table, c.selection, video, sizeof video), c.video[0] != '\0');
        DefaultSnapshotName(table, snapshot, sizeof snapshot);
        EXPECT_STREQ(video, c.video) << c.attached.size() << " attached, selection " << c.selection;
        EXPECT_STREQ(snapshot, c.snapshot) << c.attached.size() << " attached";
    }
    // Only the entries before the first free slot count.
    AttachmentTable gap = TableOf({"c:\\k\\videomsg.avi", "", "c:\\k\\videom01.avi"});
    char video[kVideoNameBufferSize];
    DefaultVideoName(gap, 0, video, sizeof video);
    EXPECT_STREQ(video, "videom01.avi");
    // A buffer one byte too small for the name gets none rather than part of it.
    char tight[12];
    DefaultVideoName(TableOf({}), 0, tight, sizeof tight);
    EXPECT_STREQ(tight, "");
}

TEST(VideoNames, TypedNamesAreCheckedAndCompleted) {
    const std::string long224(224, 'a');
    const struct {
        std::string typed;
        int selection;
        int valid;
        std::string clip;   // after ValidateVideoName
        int selectionAfter; // the selection ValidateVideoName leaves
        std::string snapshot;
    } cases[] = {
        {"clip", 0, 1, "clip.avi", 0, "clip.jpg"},
        {"clip.avi", 0, 1, "clip.avi", 0, "clip.avi.jpg"},
        {"clip.AVI", 0, 1, "clip.AVI.avi", 0, "clip.AVI.jpg"},
        {"clip.avi", 1, 1, "clip.rm", 1, "clip.avi.jpg"},
        {"clip.rm", 1, 1, "clip.rm", 1, "clip.rm.jpg"},
        {"clip", -1, 1, "clip.rm", 1, "clip.jpg"},
        {"a.jpg", 0, 1, "a.jpg.avi", 0, "a.jpg"},
        {"vi", 1, 1, "vi.rm", 1, "vi.jpg"},
        {"c:clip", 0, 0, "c:clip.avi", 0, "c:clip.jpg"},
        {"a|b", 1, 0, "a|b.rm", 1, "a|b.jpg"},
        {long224, 0, 1, long224 + ".avi", 0, long224 + ".jpg"},
        {long224 + "b", 0, 0, long224 + "b.avi", 0, long224 + "b.jpg"},
        {std::string(253, 'c'), 0, 0, std::string(253, 'c'), 0, std::string(253, 'c')},
        {"", 1, 0, "", 1, ""},
    };
    for (const char* forbidden = "\\/:*?\"<>|"; *forbidden; ++forbidden) {
        char name[kVideoNameBufferSize] = "ab";
        name[1] = *forbidden;
        int selection = 0;
        EXPECT_EQ(ValidateVideoName(name, selection), 0) << name;
    }
    for (const auto& c : cases) {
        char clip[kVideoNameBufferSize] = {};
        char snapshot[kVideoNameBufferSize] = {};
        c.typed.copy(clip, c.typed.size());
        c.typed.copy(snapshot, c.typed.size());
        int selection = c.selection;
        EXPECT_EQ(ValidateVideoName(clip, selection), c.valid) << c.typed;
        EXPECT_EQ(clip, c.clip);
        EXPECT_EQ(selection, c.selectionAfter) << c.typed;
        EXPECT_EQ(ValidateSnapshotName(snapshot), c.valid) << c.typed;
        EXPECT_EQ(snapshot, c.snapshot);
    }
}

TEST(VideoNames, SnapshotsTakeTheirNameFromTheEdit) {
    const AttachmentTable oneSnapshot = TableOf({"c:\\k\\snapshot.jpg"});
    const struct {
        const char* edit;
        const char* name;
    } cases[] = {
        {"videomsg.avi", "snapsh01.jpg"}, {"videom03.rm", "snapsh01.jpg"},
        {"clip.avi", "clip.jpg"},         {"clip", "clip"},
        {"x.avi.avi", "x.avi.jpg"},       {".avi", ".jpg"},
    };
    for (const auto& c : cases) {
        char name[kVideoNameBufferSize] = {};
        std::strcpy(name, c.edit);
        SnapshotNameFromEdit(name, oneSnapshot);
        EXPECT_STREQ(name, c.name) << c.edit;
    }
}

TEST(VideoCaptureState, PressesDecideWhatAttachAndCancelDo) {
    enum Press { Record, Stop, Picture, FailedPicture, AttachVideo, Reopen };
    const struct {
        std::vector<Press> presses;
        AttachChoice attach;
        bool cancelDeletes;
        int32_t word;
    } cases[] = {
        {{}, AttachChoice::Nothing, false, kCaptureStopped},
        {{Record}, AttachChoice::Video, true, kCaptureRecording},
        {{Record, Stop}, AttachChoice::Video, true, kCaptureStopped},
        {{Record, Picture}, AttachChoice::Snapshot, true, kCaptureSnapshot},
        {{Picture, Record}, AttachChoice::Video, true, kCaptureRecording},
        {{Record, FailedPicture}, AttachChoice::Video, true, kCaptureSnapshot},
        {{Picture, FailedPicture}, AttachChoice::Snapshot, false, kCaptureSnapshot},
        {{Record, AttachVideo, Reopen}, AttachChoice::Nothing, false, kCaptureStopped},
        {{Record, Reopen}, AttachChoice::Nothing, true, kCaptureStopped},
        {{Picture, Reopen}, AttachChoice::Nothing, false, kCaptureStopped},
    };
    for (const auto& c : cases) {
        VideoCaptureState state = {};
        state.capturedSeconds = 9;
        ResetForOpening(state);
        for (Press press : c.presses) {
            switch (press) {
            case Record:
                NoteRecordPressed(state);
                break;
            case Stop:
                NoteStopPressed(state);
                break;
            case Picture:
                NotePictureTaken(state, true);
                break;
            case FailedPicture:
                NotePictureTaken(state, false);
                break;
            case AttachVideo:
                NoteVideoAttached(state);
                break;
            case Reopen:
                ResetForOpening(state);
                break;
            }
        }
        const size_t n = c.presses.size();
        EXPECT_EQ(ChooseAttach(state), c.attach) << n << " presses";
        EXPECT_EQ(CancelDeletesCapture(state), c.cancelDeletes) << n << " presses";
        EXPECT_EQ(state.displayState, c.word) << n << " presses";
        EXPECT_EQ(state.capturedSeconds, 0);
    }
    EXPECT_STREQ(StateWordFor(kCaptureRecording).text, "RECORDING");
    EXPECT_STREQ(StateWordFor(kCaptureSnapshot).text, "SNAPSHOT");
    EXPECT_STREQ(StateWordFor(kCaptureStopped).text, "STOPPED");
}

TEST(VideoCaptureState, StatusReportsSetCaptionSecondsAndTheEnd) {
    VideoCaptureState state = {};
    NoteRecordPressed(state);
    StatusReaction r = OnCaptureStatus(state, 511, "Captured 12.7 sec.  127 frames");
    EXPECT_STREQ(r.caption, "Captured 12.7 sec.  127 frames");
    EXPECT_EQ(state.capturedSeconds, 12);
    EXPECT_EQ(state.displayState, kCaptureRecording);
    r = OnCaptureStatus(state, 511, "Capture statistics not available");
    EXPECT_EQ(state.capturedSeconds, 12);
    OnCaptureStatus(state, 511, "Captured 7 sec");
    EXPECT_EQ(state.capturedSeconds, 7) << "the first number is enough";
    r = OnCaptureStatus(state, 301, "Recording finished");
    EXPECT_STREQ(r.caption, "Recording finished");
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(state.displayState, kCaptureStopped);
    r = OnCaptureStatus(state, 0, "");
    EXPECT_STREQ(r.caption, "Record Video");
    EXPECT_FALSE(r.repaint);
    r = OnCaptureStatus(state, 300, nullptr);
    EXPECT_STREQ(r.caption, "");
}

TEST(VideoLayout, TheWindowFitsTheVideoAndKeepsItsButtonsApart) {
    const VideoRect small = VideoWindowSize(100, 80);
    EXPECT_EQ(small.width, 315);
    EXPECT_EQ(small.height, 292);
    EXPECT_EQ(VideoWindowSize(640, 480).width, 650);
    // A 640 x 480 video in the client area of a 650-wide window with 3-pixel borders.
    const VideoLayout l = LayoutVideoWindow(640, 480, 644);
    EXPECT_EQ(l.capture.x + l.capture.width / 2, 322) << "centred";
    const VideoRect row[] = {l.picture, l.record, l.stop};
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(row[i].y, l.capture.y + l.capture.height) << "below the video";
        if (i > 0) {
            EXPECT_GT(row[i].x, row[i - 1].x + row[i - 1].width) << "apart";
        }
    }
    EXPECT_GT(l.cancel.x, l.attach.x + l.attach.width);
    EXPECT_GT(l.attach.y, l.picture.y + l.picture.height);
    EXPECT_GT(l.nameEdit.y, l.attach.y + l.attach.height);
    EXPECT_EQ(l.nameEdit.x + l.nameEdit.width, 644 - 5);
    EXPECT_EQ(InitialCaptureRect(300).x, 70);
}

TEST(VideoAttachRules, CompressedCapturesAreToldByTheirVideoHandler) {
    auto head = [](size_t at, const char* handler) {
        std::string bytes(511, 'x');
        bytes.replace(at, 4, "vids");
        if (at + 8 <= bytes.size()) {
            bytes.replace(at + 4, 4, std::string(handler, 4));
        } else {
            bytes.replace(at + 4, bytes.size() - at - 4,
                          std::string(handler, bytes.size() - at - 4));
        }
        return bytes;
    };
    const struct {
        std::string bytes;
        size_t count;
        bool compressed;
    } cases[] = {
        {head(200, "MJPG"), 511, true},
        {head(200, std::string("\0\0\0\0", 4).c_str()), 511, false},
        {head(506, "M\0\0\0"), 511, true},
        {head(506, "M\0\0\0"), 510, false},
        {head(507, "M\0\0\0"), 511, false},
        {std::string(511, 'v'), 511, false},
        {head(0, "\0iv3") + head(300, "MJPG"), 511, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            CaptureIsCompressed(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.count),
            c.compressed)
            << c.bytes.find("vids") << " of " << c.count;
    }
}

TEST(VideoAttachRules, ProgressCaptionsRunToOneHundredOverHalfTheReports) {
    std::vector<std::string> captions;
    for (int percent : {10, 25, 50, 51, 100}) {
        char caption[64] = "unchanged";
        if (CompressionCaption(percent, caption, sizeof caption)) {
            captions.push_back(caption);
        }
    }
    EXPECT_EQ(captions, std::vector<std::string>({"Compressing - Percent Done ... 20%",
                                                  "Compressing - Percent Done ... 50%",
                                                  "Compressing - Percent Done ... 100%"}));
    EXPECT_STREQ(AviSaveErrorText(kAviErrorFileOpen),
                 "Overwriting an open AVI file is not possible");
    EXPECT_STREQ(AviSaveErrorText(1), "Error saving AVI file");
    EXPECT_EQ(AviSaveErrorText(0), nullptr);
}

TEST(ScreenCapture, TheDesktopIsScaledToAtMost640WideKeepingItsAspect) {
    const struct {
        int width, height, scaledWidth, scaledHeight;
    } cases[] = {
        {1024, 768, 640, 480}, {1920, 1080, 640, 360}, {1366, 768, 640, 360}, {640, 480, 640, 480},
        {321, 241, 320, 240},  {5000, 3, 640, 2},      {0, 768, 0, 0},        {1, 1, 2, 2},
    };
    for (const auto& c : cases) {
        const ScreenFrameSize size = ScaledScreenSize(c.width, c.height);
        EXPECT_EQ(size.width, c.scaledWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.scaledHeight) << c.width << "x" << c.height;
    }
    EXPECT_EQ(FramesDue(0, 100000), 1u);
    EXPECT_EQ(FramesDue(99999, 100000), 1u);
    EXPECT_EQ(FramesDue(3000000, 100000), 31u);
    char text[160];
    FormatCaptureStatistics(3150, 32, 1, 25200, 8000, text, sizeof text);
    VideoCaptureState state = {};
    OnCaptureStatus(state, kCaptureStatusStatistics, text);
    EXPECT_EQ(state.capturedSeconds, 3) << text;
    EXPECT_EQ(std::string(text).find("Captured 3.1 sec.  32 frames (1 dropped) (10.1 fps)"), 0u);
}

} // namespace
