#include "voice/recorder_animation.h"

RecorderAnimation InitialRecorderAnimation() {
    return RecorderAnimation{kAnimationStopped, kAnimationStopped, 0, kPlayingLoopStart, -1};
}

AnimationFrame NextAnimationFrame(RecorderAnimation& animation, int mode) {
    const bool entering = mode != animation.mode;
    animation.mode = mode;
    if (mode == kAnimationPlaying) {
        if (entering) {
            animation.frame = 0;
        }
        animation.lastActive = kAnimationPlaying;
        animation.reverse = kReverseStart;
        if (animation.frame < kPlayingFrameCount) {
            return AnimationFrame{kAnimationPlaying, animation.frame++};
        }
        const int shown = animation.loop;
        animation.loop =
            animation.loop + 1 >= kPlayingFrameCount ? kPlayingLoopStart : animation.loop + 1;
        return AnimationFrame{kAnimationPlaying, shown};
    }
    if (mode == kAnimationRecording) {
        if (entering) {
            animation.frame = 0;
        }
        animation.lastActive = kAnimationRecording;
        animation.reverse = kReverseStart;
        const int shown = animation.frame;
        if (animation.frame < kRecordingFrameCount - 1) {
            ++animation.frame;
        }
        return AnimationFrame{kAnimationRecording, shown};
    }
    animation.frame = 0;
    if (animation.reverse < 0 || animation.lastActive == kAnimationStopped) {
        return AnimationFrame{kAnimationStopped, 0};
    }
    return AnimationFrame{animation.lastActive, animation.reverse--};
}
