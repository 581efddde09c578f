// Which face each owner-drawn button shows, and the logo's sending animation.
#include "compose/button_images.h"
#include "compose/logo_animation.h"

#include <gtest/gtest.h>

namespace {

int Face(PictureButton button, bool hover, bool pressed, uint32_t sendState = 0) {
    return ButtonImageIndex(button, ButtonLook{hover, pressed, sendState, 0});
}

TEST(ButtonImages, ToolbarButtonsAndLabelsShowNormalHoverAndPressedFaces) {
    EXPECT_EQ(Face(PictureButton::Send, false, false), 0);
    EXPECT_EQ(Face(PictureButton::Send, true, false), 3);
    EXPECT_EQ(Face(PictureButton::Send, true, true), 2);
    EXPECT_EQ(Face(PictureButton::Send, false, true), 2);
    for (PictureButton button :
         {PictureButton::Attach, PictureButton::Voice, PictureButton::Video,
          PictureButton::FromLabel, PictureButton::ToLabel, PictureButton::CcLabel,
          PictureButton::BccLabel, PictureButton::SubjectLabel}) {
        SCOPED_TRACE(static_cast<int>(button));
        EXPECT_EQ(Face(button, false, false), 0);
        EXPECT_EQ(Face(button, true, false), 2);
        EXPECT_EQ(Face(button, true, true), 1);
    }
    EXPECT_EQ(Face(PictureButton::Logo, false, false), 0);
    EXPECT_EQ(Face(PictureButton::Logo, true, true), 28);
}

TEST(ButtonImages, CancelLooksDifferentWhileASendIsRunning) {
    // Idle, and from the end-of-data mark on, Cancel does nothing: no pressed face.
    for (uint32_t idle : {0u, 0x40408u, 0x80008u, 0xFF000000u}) {
        SCOPED_TRACE(idle);
        EXPECT_EQ(Face(PictureButton::Cancel, false, false, idle), 0);
        EXPECT_EQ(Face(PictureButton::Cancel, true, false, idle), 4);
        EXPECT_EQ(Face(PictureButton::Cancel, true, true, idle), 4);
        EXPECT_EQ(Face(PictureButton::Cancel, false, true, idle), 0);
    }
    for (uint32_t running : {1u, 4u, 0x208u, 0x40407u}) {
        SCOPED_TRACE(running);
        EXPECT_EQ(Face(PictureButton::Cancel, false, false, running), 0);
        EXPECT_EQ(Face(PictureButton::Cancel, true, false, running), 3);
        EXPECT_EQ(Face(PictureButton::Cancel, true, true, running), 2);
    }
}

TEST(ButtonImages, FormatButtonsAreOnWhileTheirCounterIsOdd) {
    for (PictureButton button :
         {PictureButton::Bold, PictureButton::Italic, PictureButton::Underline}) {
        EXPECT_EQ(ButtonImageIndex(button, ButtonLook{true, true, 0, 0}), 0);
        EXPECT_EQ(ButtonImageIndex(button, ButtonLook{false, false, 0, 1}), 1);
        EXPECT_EQ(ButtonImageIndex(button, ButtonLook{false, false, 0, 6}), 0);
        EXPECT_EQ(ButtonImageIndex(button, ButtonLook{false, false, 0, -1}), 1);
    }
}

TEST(LogoAnimation, TurnsRoundThirtyFramesUntilTheSendEnds) {
    LogoAnimation logo = {};
    StartLogoAnimation(logo);
    EXPECT_TRUE(logo.running);
    EXPECT_EQ(StepLogoAnimation(logo, 0x18), 1);
    EXPECT_EQ(StepLogoAnimation(logo, 0x18), 2);
    for (int tick = 3; tick <= 29; ++tick) {
        StepLogoAnimation(logo, 0x40408);
    }
    EXPECT_EQ(logo.shownFrame, 29);
    EXPECT_EQ(StepLogoAnimation(logo, 0x80008), 0); // frame 30 is frame 0 again
    EXPECT_EQ(StepLogoAnimation(logo, 0x80008), 1);
    EXPECT_TRUE(logo.running);

    // A restart begins from the first frame.
    StartLogoAnimation(logo);
    EXPECT_EQ(StepLogoAnimation(logo, 4), 1);
}

TEST(LogoAnimation, StopsOnItsRestingFrameWhenTheSendHasEndedOrFailed) {
    for (uint32_t ended : {0u, 0x1000000u, 0xFF000000u, 0xFF000208u}) {
        SCOPED_TRACE(ended);
        LogoAnimation logo = {};
        StartLogoAnimation(logo);
        StepLogoAnimation(logo, 0x208);
        StepLogoAnimation(logo, 0x208);
        EXPECT_EQ(StepLogoAnimation(logo, ended), 0);
        EXPECT_FALSE(logo.running);
        EXPECT_EQ(logo.shownFrame, 0);
    }
}

} // namespace
