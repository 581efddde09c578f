#include "compose/win/body_editor.h"

#include "compose/win/attachments.h"
#include "resources/resource_ids.h"

namespace {

WNDPROC previousBodyProc = nullptr;
HMENU bodyPopupMenu = nullptr; // the first submenu of "BODYPOPUPMENU", loaded at first use

void RefreshFormatBar(HWND body, bool wait) {
    HWND mainWindow = GetParent(body);
    if (wait) {
        SendMessageA(mainWindow, WM_COMMAND, IDM_UPDATE_FORMAT_BAR, 0);
    } else {
        PostMessageA(mainWindow, WM_COMMAND, IDM_UPDATE_FORMAT_BAR, 0);
    }
}

void ShowPopupMenu(HWND body, LPARAM clientPoint) {
    if (!bodyPopupMenu) {
        HMENU menu = LoadMenuA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(body, GWLP_HINSTANCE)),
                               "BODYPOPUPMENU");
        bodyPopupMenu = menu ? GetSubMenu(menu, 0) : nullptr;
        if (!bodyPopupMenu) {
            return;
        }
    }
    SetFocus(body);
    POINT point = {static_cast<short>(LOWORD(clientPoint)),
                   static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(body, &point);
    TrackPopupMenu(bodyPopupMenu, TPM_RIGHTBUTTON, point.x, point.y, 0, body, nullptr);
}

void EnablePopupItems(HMENU menu) {
    static const UINT kItems[] = {IDM_UNDO, IDM_CUT, IDM_COPY, IDM_PASTE};
    for (UINT id : kItems) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_ENABLED);
    }
}

// The edit message of a pop-up command, or 0 for any other command.
UINT EditMessageOf(int command) {
    switch (command) {
    case IDM_UNDO:
        return WM_UNDO;
    case IDM_CUT:
        return WM_CUT;
    case IDM_COPY:
        return WM_COPY;
    case IDM_PASTE:
        return WM_PASTE;
    default:
        return 0;
    }
}

LRESULT CALLBACK BodyEditorProc(HWND body, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        RefreshFormatBar(body, false); // handled after the key has moved the caret
        break;
    case WM_LBUTTONDOWN: {
        const LRESULT result = CallWindowProcA(previousBodyProc, body, message, wParam, lParam);
        RefreshFormatBar(body, true);
        return result;
    }
    case WM_RBUTTONDOWN: {
        const LRESULT result = CallWindowProcA(previousBodyProc, body, message, wParam, lParam);
        ShowPopupMenu(body, lParam);
        return result;
    }
    case WM_INITMENUPOPUP:
        if (bodyPopupMenu && reinterpret_cast<HMENU>(wParam) == bodyPopupMenu) {
            EnablePopupItems(bodyPopupMenu);
            return 0;
        }
        break;
    case WM_COMMAND: {
        const UINT edit = EditMessageOf(LOWORD(wParam));
        HWND focus = GetFocus();
        if (edit && focus) {
            SendMessageA(focus, edit, 0, 0);
        }
        break;
    }
    case WM_DROPFILES:
        AttachDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return CallWindowProcA(previousBodyProc, body, message, wParam, lParam);
}

} // namespace

void SubclassBodyEditor(HWND body) {
    if (!body) {
        return;
    }
    previousBodyProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(body, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BodyEditorProc)));
}
