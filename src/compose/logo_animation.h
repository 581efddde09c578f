// The logo's sending animation: a frame counter stepped by a 50 ms timer from the start of a
// send until the send has ended.
#pragma once

#include <cstdint>

constexpr int kLogoAnimationFrames = 30; // frames 0 .. 29 of the logo set turn round
constexpr int kLogoAnimationPeriodMs = 50;

struct LogoAnimation {
    int counter;
    bool running;
    int shownFrame; // the frame last put on the screen
};

void StartLogoAnimation(LogoAnimation& animation);

// One timer tick: returns the frame to show. Once the send has ended the frame is the resting
// frame 0 and the animation stops (the caller then stops its timer).
int StepLogoAnimation(LogoAnimation& animation, uint32_t sendState);
