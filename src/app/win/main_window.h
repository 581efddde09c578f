// The main window: its class, its children, layout, closing and tear-down.
#pragma once

#include <windows.h>

constexpr UINT WM_SOCKET_EVENT = WM_USER + 1;
constexpr UINT WM_HOST_LOOKUP_DONE = WM_USER + 2;
constexpr UINT WM_RELAYOUT_BODY = WM_USER + 3;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the tear-down once: quit message, settings file, fonts and images released.
void TearDownMainWindow();
