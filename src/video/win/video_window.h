// The video capture window (VIDEOBOX).
#pragma once

#include <windows.h>

void OpenVideoWindow(HWND owner);
