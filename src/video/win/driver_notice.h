// The notice that names the capture driver just chosen (VIDEO_SELECT); it closes by itself.
// It is opened with the main window as its parameter, whose menu names the driver.
#pragma once

#include <windows.h>

INT_PTR CALLBACK DriverNoticeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The Options > Video Driver submenu of the main window.
HMENU VideoDriverMenu(HWND mainWindow);
