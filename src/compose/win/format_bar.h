// The format bar (font, size, colour, bold, italic, underline) and the body's default format.
#pragma once

#include <windows.h>

// Commands 1021 to 1026 from the format bar's controls.
void OnFormatBarCommand(HWND mainWindow, int id, int notification);

// Command 2000: the bar follows the format at the body's caret.
void UpdateFormatBar();

// Arial, 10 points, black, plain, on white, with the bar's boxes showing it.
void ResetBodyFormat();
