// The format bar (font, size, colour, bold, italic, underline) and the body's default format.
#pragma once

#include <windows.h>

// Fills the size, font-name and colour boxes, gives the font-name and size boxes the UI font
// and sets the body's default format. Called once while the main window is built.
void InitFormatBar(HWND mainWindow);

// Commands 1021 to 1026 from the format bar's controls. Returns true when the notification was
// a use of the bar (an entry chosen in a box, a click on a button): only then does the body take
// the focus back and the message count as formatted. Opening, closing or focusing a box is no
// use; stepping through an open list with the arrow keys is none until Enter or a click.
bool OnFormatBarCommand(HWND mainWindow, int id, int notification);

// Command 2000: the bar follows the format at the body's caret.
void UpdateFormatBar();

// Arial, 10 points, black, plain, on white, with the bar's boxes and buttons showing it.
void ResetBodyFormat();

// Paints an entry of the colour box (WM_DRAWITEM for id 1023).
void DrawColourBoxItem(const DRAWITEMSTRUCT* item);

// Whether the bold (1024), italic (1025) or underline (1026) button is on: its toggle counter
// is odd. The counters step when the button is clicked and when the bar follows the caret.
bool FormatToggleOn(int id);

// Frees the font list behind the font-name box (main window tear-down).
void ReleaseFormatBar();
