#include "app/win/app_state.h"

#include <commctrl.h>

ProgramSettings programSettings;
MainWindowState app = {};

void SetStatusText(const char* text) {
    if (app.statusBar) {
        SendMessageA(app.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    }
}
