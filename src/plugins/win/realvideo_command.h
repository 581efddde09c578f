// Command 10053: the RealVideo encoder runner, and attaching what it produced.
#pragma once

#include <windows.h>

void EncodeWithRealVideo(HWND mainWindow);
