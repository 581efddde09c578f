#include "compose/logo_animation.h"

#include "mail/send_state.h"

void StartLogoAnimation(LogoAnimation& animation) {
    animation.counter = 0;
    animation.running = true;
}

int StepLogoAnimation(LogoAnimation& animation, uint32_t sendState) {
    if (SendHasEnded(sendState)) {
        animation.running = false;
        animation.shownFrame = 0;
        return 0;
    }
    // The counter wraps long before it could overflow.
    animation.counter = (animation.counter + 1) % kLogoAnimationFrames;
    animation.shownFrame = animation.counter;
    return animation.shownFrame;
}
