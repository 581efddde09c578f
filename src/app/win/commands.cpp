#include "app/win/commands.h"

#include "app/win/app_state.h"
#include "app/win/settings_dialogs.h"
#include "resources/resource_ids.h"

void RefreshSenderLine() {
    HWND from = AddressEdit(IDC_FROM_EDIT);
    if (from) {
        PostMessageA(from, WM_COMMAND, IDC_REFRESH_SENDER, 0);
    }
}

namespace {

void SendToFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    if (focus) {
        SendMessageA(focus, message, wParam, lParam);
    }
}

} // namespace

LRESULT OnMainCommand(HWND window, int id, int /*notification*/, LPARAM /*lParam*/) {
    switch (id) {
    case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case IDM_PROGRAM_SETTINGS:
        DialogBoxParamA(app.instance, "PROGRAM_SETTINGS", window, ProgramSettingsDialogProc, 0);
        break;
    case IDM_UNDO:
        SendToFocus(WM_UNDO, 0, 0);
        break;
    case IDM_CUT:
        SendToFocus(WM_CUT, 0, 0);
        break;
    case IDM_COPY:
        SendToFocus(WM_COPY, 0, 0);
        break;
    case IDM_PASTE:
        SendToFocus(WM_PASTE, 0, 0);
        break;
    case IDM_SELECT_ALL:
        SendToFocus(EM_SETSEL, 0, -1);
        break;
    case IDM_RELAYOUT:
        PostMessageA(window, WM_SIZE, 0, 0);
        break;
    default:
        break; // the remaining commands come with the parts of the program that own them
    }
    return 0;
}
