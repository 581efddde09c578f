#include "compose/button_images.h"

#include "resources/skin_ids.h"

namespace {

// Faces of the Send button.
constexpr int kSendNormal = 0;
constexpr int kSendPressed = 2;
constexpr int kSendHover = 3;
// Faces of the Cancel button.
constexpr int kCancelNormal = 0;
constexpr int kCancelPressedSending = 2;
constexpr int kCancelHoverSending = 3;
constexpr int kCancelHoverIdle = 4;
// Faces of the Attach, Voice and Video buttons and of the labels.
constexpr int kPlainNormal = 0;
constexpr int kPlainPressed = 1;
constexpr int kPlainHover = 2;
// Frames of the logo.
constexpr int kLogoRest = 0;
constexpr int kLogoPressed = 28;

int PlainFace(const ButtonLook& look) {
    if (look.pressed) {
        return kPlainPressed;
    }
    return look.hover ? kPlainHover : kPlainNormal;
}

} // namespace

int SkinSetOfButton(PictureButton button) {
    switch (button) {
    case PictureButton::Send:
        return SKIN_SET_SEND;
    case PictureButton::Attach:
        return SKIN_SET_ATTACH;
    case PictureButton::Voice:
        return SKIN_SET_VOICE;
    case PictureButton::Video:
        return SKIN_SET_VIDEO;
    case PictureButton::Cancel:
        return SKIN_SET_CANCEL;
    case PictureButton::Logo:
        return SKIN_SET_LOGO;
    case PictureButton::Bold:
        return SKIN_SET_BOLD;
    case PictureButton::Italic:
        return SKIN_SET_ITALIC;
    case PictureButton::Underline:
        return SKIN_SET_UNDERLINE;
    case PictureButton::FromLabel:
        return SKIN_SET_FROM;
    case PictureButton::ToLabel:
        return SKIN_SET_TO;
    case PictureButton::CcLabel:
        return SKIN_SET_CC;
    case PictureButton::BccLabel:
        return SKIN_SET_BCC;
    case PictureButton::SubjectLabel:
        return SKIN_SET_SUBJECT;
    }
    return SKIN_SET_SEND;
}

int ButtonImageIndex(PictureButton button, const ButtonLook& look) {
    switch (button) {
    case PictureButton::Send:
        if (look.pressed) {
            return kSendPressed;
        }
        return look.hover ? kSendHover : kSendNormal;
    case PictureButton::Cancel: {
        const bool sending = SendCanBeCancelled(look.sendState);
        if (look.pressed && sending) {
            return kCancelPressedSending;
        }
        if (look.hover) {
            return sending ? kCancelHoverSending : kCancelHoverIdle;
        }
        return kCancelNormal;
    }
    case PictureButton::Logo:
        return look.pressed ? kLogoPressed : kLogoRest;
    case PictureButton::Bold:
    case PictureButton::Italic:
    case PictureButton::Underline:
        return ToggleIsOn(look.toggleCounter) ? 1 : 0;
    default:
        return PlainFace(look);
    }
}

bool ToggleIsOn(int toggleCounter) {
    return toggleCounter % 2 != 0;
}
