// Character formatting of the body editor's text. A true `selectionOnly` changes the selection
// (or, with nothing selected, the text typed next at the caret); a false one all the text.
#pragma once

#include <windows.h>

#include <richedit.h>

// The format of the selection; attributes that vary across it are missing from dwMask.
CHARFORMATA ReadSelectionFormat(HWND body);

void SetFace(HWND body, const char* face, bool selectionOnly);
void SetSize(HWND body, int points, bool selectionOnly);
void SetColour(HWND body, COLORREF colour, bool selectionOnly);

// Switch the attribute off where the selection has it throughout, otherwise on.
void ToggleBold(HWND body, bool selectionOnly);
void ToggleItalic(HWND body, bool selectionOnly);
void ToggleUnderline(HWND body, bool selectionOnly);

// Arial, 10 points, black, plain, for all the text and for text typed later; white background.
void SetDefaultBodyFormat(HWND body);

// The text colour of a format, the automatic colour taken as the system's window text colour.
COLORREF TextColourOf(const CHARFORMATA& format);
