// The voice recorder window's rules: where its controls and bar go, what the display says,
// what each key does in each state, and the animation's frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/plugin_settings.h"
#include "voice/recorder_animation.h"
#include "voice/recorder_controls.h"
#include "voice/recorder_display.h"
#include "voice/recorder_layout.h"

namespace {

TEST(RecorderLayout, KeysStandInARowUnderTheNameAndTheBarFrameCloses) {
    for (int textHeight : {16, 20}) {
        const RecorderControlsLayout l = LayoutRecorderControls(textHeight, 4, 318, 220);
        EXPECT_EQ(l.stop.x, l.record.x + 50);
        EXPECT_EQ(l.play.x, l.stop.x + 50);
        EXPECT_EQ(l.record.y, l.play.y);
        EXPECT_EQ(l.play.width, kRecorderKeyWidth);
        EXPECT_EQ(l.nameLabel.width, l.nameEdit.width);
        EXPECT_LT(l.nameEdit.x + l.nameEdit.width, l.record.x) << "the name ends before the keys";
        EXPECT_LT(l.nameEdit.y + l.nameEdit.height, l.record.y);
        EXPECT_LT(l.nameEdit.y, l.nameLabel.y) << "the edit's box stands higher than its label";
        EXPECT_GT(l.nameLabel.x, 4);
    }
    // The frame's lines meet at the corners around the bar.
    const RecorderBar bar = RecorderBarArea(0, 318);
    const RecorderBarFrame frame = RecorderBarFrameLines(0, 318);
    EXPECT_EQ(frame.gray[0].x1, frame.gray[1].x1);
    EXPECT_EQ(frame.gray[1].y2, frame.white[0].y1);
    EXPECT_EQ(frame.white[0].x2, frame.white[1].x1);
    EXPECT_EQ(frame.gray[0].y1, frame.white[1].y1);
    EXPECT_EQ(frame.gray[0].x1 + 1, bar.left);
    EXPECT_EQ(frame.white[1].x1, bar.right);
    EXPECT_LT(frame.gray[0].y1, bar.top);
    EXPECT_EQ(frame.white[0].y1, bar.bottom);
}

TEST(RecorderLayout, FillsStayInsideTheBar) {
    const RecorderBar bar = RecorderBarArea(0, 318);
    const int width = bar.right - bar.left;
    EXPECT_EQ(BarFillEnd(bar, 0, 100), bar.left);
    EXPECT_EQ(BarFillEnd(bar, 50, 100), bar.left + width / 2);
    EXPECT_EQ(BarFillEnd(bar, 100, 100), bar.right);
    EXPECT_EQ(BarFillEnd(bar, 150, 100), bar.right) << "kept inside the bar";
    EXPECT_EQ(BarFillEnd(bar, 5, 0), bar.left);
    EXPECT_EQ(BarFillEnd(bar, 4000000000u, 4000000000u), bar.right) << "no overflow";

    EXPECT_EQ(MeterLevel(0), 0);
    EXPECT_EQ(MeterLevel(-1200), 1200);
    EXPECT_EQ(MeterLevel(32767), 32700);
    EXPECT_EQ(MeterLevel(INT32_MIN), 32700);

    // The level meter's green part: half scale either way fills half the bar, a peak beyond
    // 32700 the whole of it.
    EXPECT_EQ(MeterFillEnd(bar, 0), bar.left);
    EXPECT_EQ(MeterFillEnd(bar, 16350), bar.left + width / 2);
    EXPECT_EQ(MeterFillEnd(bar, -16350), bar.left + width / 2);
    EXPECT_EQ(MeterFillEnd(bar, 32699), bar.right - 1);
    EXPECT_EQ(MeterFillEnd(bar, 32767), bar.right);
    EXPECT_EQ(MeterFillEnd(bar, INT32_MIN), bar.right);
}

TEST(RecorderDisplayTexts, StatusTimeAndSize) {
    RecorderDisplay display = {16000, 0, 24000};
    RecorderDisplayTexts texts = BuildDisplayTexts(kRecorderRecording, display, 8000, kAudioGsm, 0);
    EXPECT_STREQ(texts.status, "RECORDING");
    EXPECT_EQ(texts.statusColour, 0x000080u);
    EXPECT_STREQ(texts.time, "00:02.0");
    EXPECT_STREQ(texts.size, " 3.2 kB      ");

    texts = BuildDisplayTexts(kRecorderStopped, display, 8000, kAudioGsm, 0);
    EXPECT_STREQ(texts.status, "STOPPED");
    EXPECT_EQ(texts.statusColour, 0xFFFFFFu);
    EXPECT_STREQ(texts.time, "00:03.0") << "the stopped length";
    EXPECT_STREQ(texts.size, " 4.8 kB      ");

    display = {4000, 24000, 24000};
    texts = BuildDisplayTexts(kRecorderPlaying, display, 8000, kAudioUncompressed, 0);
    EXPECT_STREQ(texts.status, "PLAYING");
    EXPECT_EQ(texts.statusColour, 0x00FF00u);
    EXPECT_STREQ(texts.time, "00:00.5");
    EXPECT_STREQ(texts.size, " 4.0 kB      ");

    display = {0, 0, 0};
    texts = BuildDisplayTexts(kRecorderStopped, display, 0, kAudioGsm, 0);
    EXPECT_STREQ(texts.time, "00:00.0");
    EXPECT_STREQ(texts.size, "  0 bytes         ");

    display = {0, 0, 88200 * 75 + 44100};
    texts = BuildDisplayTexts(kRecorderStopped, display, 88200, kAudioCustom, 0);
    EXPECT_STREQ(texts.time, "1:15.5");
    EXPECT_STREQ(texts.size, "6.7 MB      ");
}

TEST(RecorderDisplayTexts, SizeEstimateOfEachEncoder) {
    EXPECT_EQ(EstimatedVoiceFileSize(16000, kAudioGsm, 0), 3200u);
    EXPECT_EQ(EstimatedVoiceFileSize(16000, kAudioMp3, kMp3Quality16kHz), 2000u);
    EXPECT_EQ(EstimatedVoiceFileSize(16000, kAudioMp3, kMp3Quality8kHz), 1000u);
    EXPECT_EQ(EstimatedVoiceFileSize(16000, kAudioUncompressed, 0), 16000u);
    EXPECT_EQ(EstimatedVoiceFileSize(16000, kAudioCustom, 1), 16000u);
}

TEST(RecorderDisplayTexts, BarLook) {
    EXPECT_EQ(RecorderBarLook(kRecorderStopped, {500, 1000, 1000}, true), BarLook::Empty);
    EXPECT_EQ(RecorderBarLook(kRecorderRecording, {0, 0, 0}, true), BarLook::Empty);
    EXPECT_EQ(RecorderBarLook(kRecorderRecording, {10, 0, 0}, true), BarLook::Meter);
    EXPECT_EQ(RecorderBarLook(kRecorderRecording, {10, 0, 0}, false), BarLook::Empty)
        << "no microphone meter to draw it";
    EXPECT_EQ(RecorderBarLook(kRecorderPlaying, {0, 1000, 1000}, true), BarLook::Empty);
    EXPECT_EQ(RecorderBarLook(kRecorderPlaying, {10, 1000, 1000}, false), BarLook::Progress);
    EXPECT_EQ(RecorderBarLook(kRecorderPlaying, {10, 0, 0}, true), BarLook::Empty);
}

std::string Describe(const KeyAction& action) {
    if (action.ignored) {
        return "ignored";
    }
    const char* steps[] = {"-", "start recording", "stop recording", "start playback",
                           "stop playback"};
    return std::string(action.title) + " / " + steps[static_cast<int>(action.step)];
}

TEST(RecorderControls, TheKeyTable) {
    const uint32_t stopped = kRecorderStopped, recording = kRecorderRecording,
                   playing = kRecorderPlaying;
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Record, stopped, true)),
              "Recording... / start recording");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Record, recording, true)),
              "Voice Message / stop recording");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Record, playing, true)),
              "Voice Message / stop playback");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Stop, stopped, false)), "Voice Message / -");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Stop, recording, true)),
              "Voice Message / stop recording");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Stop, playing, true)),
              "Voice Message / stop playback");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Play, stopped, false)), "ignored");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Play, stopped, true)),
              "Playing Message / start playback");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Play, recording, true)),
              "Voice Message / stop recording");
    EXPECT_EQ(Describe(DecideKeyAction(RecorderKey::Play, playing, true)),
              "Voice Message / stop playback");

    EXPECT_STREQ(TitleForState(stopped), "Voice Message");
    EXPECT_STREQ(TitleForState(recording), "Recording...");
    EXPECT_STREQ(TitleForState(playing), "Playing Message");

    EXPECT_EQ(DecideAttachAction(stopped, false), AttachAction::Close);
    EXPECT_EQ(DecideAttachAction(recording, true), AttachAction::StopAndStay);
    EXPECT_EQ(DecideAttachAction(playing, true), AttachAction::Attach);
    EXPECT_EQ(DecideAttachAction(stopped, true), AttachAction::Attach);
    EXPECT_EQ(DecideCancelAction(recording), CancelAction::StopAndStay);
    EXPECT_EQ(DecideCancelAction(playing), CancelAction::Close);
    EXPECT_EQ(DecideCancelAction(stopped), CancelAction::Close);
}

// The frames of `ticks` ticks in `mode`, as "r3" (recording set) or "p12" (playing set), "-"
// when nothing is drawn.
std::string Frames(RecorderAnimation& animation, int mode, int ticks) {
    std::string frames;
    for (int i = 0; i < ticks; ++i) {
        const AnimationFrame frame = NextAnimationFrame(animation, mode);
        frames += frame.set == kAnimationStopped   ? "-"
                  : frame.set == kAnimationPlaying ? "p" + std::to_string(frame.index)
                                                   : "r" + std::to_string(frame.index);
        frames += " ";
    }
    return frames;
}

TEST(RecorderAnimationFrames, RecordingPlayingAndTheStepsBackAfterAStop) {
    RecorderAnimation animation = InitialRecorderAnimation();
    EXPECT_EQ(Frames(animation, kAnimationStopped, 3), "- - - ") << "nothing before a first take";
    EXPECT_EQ(Frames(animation, kAnimationRecording, 11), "r0 r1 r2 r3 r4 r5 r6 r7 r8 r8 r8 ");
    EXPECT_EQ(Frames(animation, kAnimationStopped, 9), "r6 r5 r4 r3 r2 r1 r0 - - ");
    EXPECT_EQ(Frames(animation, kAnimationPlaying, 13),
              "p0 p1 p2 p3 p4 p5 p6 p7 p8 p9 p10 p11 p12 ");
    EXPECT_EQ(Frames(animation, kAnimationPlaying, 9), "p6 p7 p8 p9 p10 p11 p12 p6 p7 ");
    EXPECT_EQ(Frames(animation, kAnimationStopped, 2), "p6 p5 ");
    // The loop goes on where it stopped; the stop went back to 0 frames first.
    EXPECT_EQ(Frames(animation, kAnimationPlaying, 16),
              "p0 p1 p2 p3 p4 p5 p6 p7 p8 p9 p10 p11 p12 p8 p9 p10 ");
    // Straight from playing to recording (no stopped tick between): the recording starts at 0.
    EXPECT_EQ(Frames(animation, kAnimationRecording, 2), "r0 r1 ");
    EXPECT_EQ(Frames(animation, kAnimationStopped, 1), "r6 ");
}

} // namespace
