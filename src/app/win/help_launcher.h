// Opens a local document or a page of the vendor's web site in the user's web browser.
#pragma once

#include <windows.h>

// commandId is one of 1005, 10022 to 10027 and 10046.
void OpenHelpTarget(HWND mainWindow, int commandId);

// Opens a page or document in the browser the system names for Kestro.htm. When `logoButton` is
// given it is sent WM_COMMAND 2001 (its animation) once the browser is found, before it starts.
void OpenInBrowser(HWND owner, const char* target, HWND logoButton);
