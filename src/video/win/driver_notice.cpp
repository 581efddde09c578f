#include "video/win/driver_notice.h"

#include "resources/resource_ids.h"

namespace {

int noticeTicks = 0;
constexpr int kClosingTick = 9; // about 2.25 seconds at 250 ms

void ShowCheckedDriver(HWND dialog, HWND mainWindow) {
    HMENU drivers = VideoDriverMenu(mainWindow);
    for (int id = IDM_VIDEO_DRIVER_FIRST; id < IDM_VIDEO_DRIVER_FIRST + 10 && drivers; ++id) {
        const UINT state = GetMenuState(drivers, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state == static_cast<UINT>(-1) || !(state & MF_CHECKED)) {
            continue; // no such driver, or not the chosen one
        }
        char label[100] = {};
        GetMenuStringA(drivers, static_cast<UINT>(id), label, sizeof label, MF_BYCOMMAND);
        // The label reads "&<index> <name>": the name starts after those three characters.
        SetDlgItemTextA(dialog, IDC_DRIVER_NAME, lstrlenA(label) > 3 ? label + 3 : "");
        return;
    }
}

} // namespace

HMENU VideoDriverMenu(HWND mainWindow) {
    HMENU options = GetSubMenu(GetMenu(mainWindow), 2);
    return options ? GetSubMenu(options, 2) : nullptr;
}

INT_PTR CALLBACK DriverNoticeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        noticeTicks = 0;
        SetTimer(dialog, IDT_DRIVER_NOTICE, 250, nullptr);
        ShowCheckedDriver(dialog, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_TIMER:
        if (++noticeTicks == kClosingTick) {
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            KillTimer(dialog, IDT_DRIVER_NOTICE);
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
