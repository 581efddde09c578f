// The ad banner above the status bar.
#pragma once

#include <windows.h>

constexpr const char* kAdBannerClass = "AD_CLASS";

LRESULT CALLBACK AdBannerProc(HWND banner, UINT message, WPARAM wParam, LPARAM lParam);
