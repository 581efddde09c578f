// The owner-drawn buttons: the toolbar's picture buttons, the address labels and the format
// bar's bold, italic and underline buttons.
#pragma once

#include <windows.h>

// Gives the six toolbar buttons (Send ... logo) their own window procedures.
void SubclassPictureButtons();

// Gives an address label its hover procedure.
void SubclassLabelButton(HWND label);

// Draws an owner-drawn button or the colour box's item.
void DrawOwnerDrawnControl(const DRAWITEMSTRUCT* item);

// Deletes the images loaded at start-up.
void ReleasePictureButtonImages();
