// Which skin image an owner-drawn button shows for its state: the toolbar's picture buttons,
// the logo, the format bar's bold, italic and underline buttons and the address labels.
#pragma once

#include <cstdint>

#include "mail/send_state.h"

enum class PictureButton {
    Send,
    Attach,
    Voice,
    Video,
    Cancel,
    Logo,
    Bold,
    Italic,
    Underline,
    FromLabel,
    ToLabel,
    CcLabel,
    BccLabel,
    SubjectLabel,
};

struct ButtonLook {
    bool hover;         // the pointer is over the button
    bool pressed;       // the button is held down
    uint32_t sendState; // the SMTP client's state word
    int toggleCounter;  // bold, italic, underline: on while odd
};

// The skin set a button's faces come from.
int SkinSetOfButton(PictureButton button);

// Index within the button's set of the image for `look`. The pressed image replaces the hover
// or normal one where the button has a pressed image.
int ButtonImageIndex(PictureButton button, const ButtonLook& look);

// The bold, italic and underline buttons are on while their counter is odd.
bool ToggleIsOn(int toggleCounter);
