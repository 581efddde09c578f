#include "base/win/status_bar.h"

#include <commctrl.h>

void SetStatusBarText(HWND statusBar, const char* text) {
    if (statusBar) {
        SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    }
}
