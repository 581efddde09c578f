// Opens a local document or a page of the vendor's web site in the user's web browser.
#pragma once

#include <windows.h>

// commandId is one of 1005, 10022 to 10027 and 10046.
void OpenHelpTarget(HWND mainWindow, int commandId);
