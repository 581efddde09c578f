// The small animation of the voice recorder, one frame every 100 ms: a recording set of 9
// frames and a playing set of 13, and a few frames played backwards after a stop.
#pragma once

constexpr int kPlayingFrameCount = 13;
constexpr int kRecordingFrameCount = 9;
constexpr int kPlayingLoopStart = 6;
constexpr int kReverseStart = 6;

// Modes, as the engine states: 0 stopped, 1 recording, 2 playing.
constexpr int kAnimationStopped = 0;
constexpr int kAnimationRecording = 1;
constexpr int kAnimationPlaying = 2;

struct RecorderAnimation {
    int mode;       // the mode of the last tick
    int lastActive; // the last recording or playing mode, whose set the stop plays backwards
    int frame;
    int loop;    // where the playing loop stands; kept for the life of the process
    int reverse; // the next frame to show backwards after a stop; negative when done
};

// Nothing has been recorded or played yet.
RecorderAnimation InitialRecorderAnimation();

struct AnimationFrame {
    int set;   // kAnimationRecording or kAnimationPlaying; kAnimationStopped when nothing is drawn
    int index; // the frame of that set
};

// Advances the animation by one tick in `mode` and returns the frame to draw.
AnimationFrame NextAnimationFrame(RecorderAnimation& animation, int mode);
