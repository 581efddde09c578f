// Printing the composed message.
#pragma once

#include <windows.h>

// 1 when the message was printed, 0 when it could not be.
int PrintMessage(HINSTANCE instance, HWND mainWindow, HWND bodyEditor);
