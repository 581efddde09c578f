// The text of a status bar's first part.
#pragma once

#include <windows.h>

// Sets the text of part 0 of the status bar; nothing happens without a status bar.
void SetStatusBarText(HWND statusBar, const char* text);
