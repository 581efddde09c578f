// The main window: its class, its children, layout, closing and tear-down.
#pragma once

#include <windows.h>

#include "base/win/main_window_messages.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the tear-down once: quit message, settings file, fonts and images released.
void TearDownMainWindow();
