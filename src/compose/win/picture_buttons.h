// The owner-drawn buttons: the toolbar's picture buttons and the logo, the address labels and
// the format bar's bold, italic and underline buttons. Their faces come from the skin image
// table; each toolbar button and label follows the mouse with its own window procedure.
#pragma once

#include <windows.h>

#include "compose/logo_animation.h"

constexpr UINT_PTR kLogoTimerId = 1;  // steps the sending animation
constexpr UINT_PTR kHoverTimerId = 2; // watches for the pointer leaving a hovered button
constexpr UINT kHoverTimerPeriodMs = 50;
constexpr int kEndHoverCommand = 2500; // WM_COMMAND a button posts to itself

// Process-wide flags of the picture buttons.
struct PictureButtonState {
    int hoverFlags[5];      // Send, Attach, Voice, Video, Cancel
    int pressedFlags[5];    // Send, Attach, Voice, Video, Cancel
    int labelHoverFlags[5]; // From, To, CC, BCC, Subject
    int labelPressed;       // one flag for all five labels
    LogoAnimation logo;
};

extern PictureButtonState pictureButtonState;

// Gives the six toolbar buttons (Send ... logo) their own window procedures.
void SubclassPictureButtons();

// Gives an address label its hover procedure.
void SubclassLabelButton(HWND label);

// Draws an owner-drawn button by its state.
void DrawOwnerDrawnControl(const DRAWITEMSTRUCT* item);

// Deletes every image of the skin image table and forgets the buttons' flags.
void ReleasePictureButtonImages();
