#include "compose/win/address_panel.h"

#include <cstring>
#include <string>

#include "base/win/program_directory.h"
#include "base/win/scoped_handles.h"
#include "books/win/account_book.h"
#include "books/win/address_book.h"
#include "compose/placeholders.h"
#include "compose/sender_line.h"
#include "compose/win/compose_windows.h"
#include "compose/win/picture_buttons.h"
#include "resources/resource_ids.h"

namespace {

struct PanelLine {
    int labelId;
    const char* labelText;
    int editId;
};

const PanelLine kLines[5] = {
    {IDC_FROM_LABEL, "From:", IDC_FROM_EDIT},
    {IDC_TO_LABEL, "To:", IDC_TO_EDIT},
    {IDC_CC_LABEL, "CC:", IDC_CC_EDIT},
    {IDC_BCC_LABEL, "BCC:", IDC_BCC_EDIT},
    {IDC_SUBJECT_LABEL, "Subject:", IDC_SUBJECT_EDIT},
};

constexpr int kEditX = 67;
constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = 18;

int focusFlags[4]; // To, CC, BCC, Subject
WNDPROC previousFromProc = nullptr;
WNDPROC previousTabProcs[4] = {};

int LineY(int line) {
    return line * composeWindows.fieldHeight + 2 * line + 2;
}

std::string WindowText(HWND window, int maxLength) {
    std::string text(static_cast<size_t>(maxLength) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], maxLength + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

} // namespace

HWND AddressEdit(int id) {
    return composeWindows.addressPanel ? GetDlgItem(composeWindows.addressPanel, id) : nullptr;
}

std::string AddressFieldText(int editId, int bufferSize) {
    return WindowText(AddressEdit(editId), bufferSize - 1);
}

namespace {

bool ShowsPlaceholder(HWND edit, int editId, int maxLength) {
    const char* placeholder = PlaceholderForField(editId);
    return placeholder && WindowText(edit, maxLength) == placeholder;
}

LRESULT CALLBACK SenderDisplayProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        return 0; // the sender line can be selected and copied, not changed
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_REFRESH_SENDER) {
            SetWindowTextA(edit, FormatSenderLine(*composeWindows.settings).c_str());
        }
        break;
    }
    return CallWindowProcA(previousFromProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK TabProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const int id = GetDlgCtrlID(edit);
    const int index = id - IDC_TO_EDIT;
    if (message == WM_KEYUP && wParam == VK_TAB) {
        return 0;
    }
    if (message == WM_CHAR && wParam == VK_TAB) {
        if (id == IDC_SUBJECT_EDIT) {
            SetFocus(composeWindows.bodyEditor);
        } else {
            SetFocus(FindWindowExA(GetParent(edit), edit, "edit", nullptr));
        }
        return 0;
    }
    return CallWindowProcA(previousTabProcs[index], edit, message, wParam, lParam);
}

void CreateLines(HWND panel) {
    RECT client;
    GetClientRect(panel, &client);
    const int h = composeWindows.fieldHeight;
    for (int i = 0; i < 5; ++i) {
        const PanelLine& line = kLines[i];
        HWND label =
            CreateWindowExA(0, "Button", line.labelText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0,
                            LineY(i), kLabelWidth, kLabelHeight, panel,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(line.labelId)),
                            composeWindows.instance, nullptr);
        SubclassLabelButton(label);
        const char* placeholder = PlaceholderForField(line.editId);
        HWND edit = CreateWindowExA(0, "edit", placeholder ? placeholder : "",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, kEditX,
                                    LineY(i), client.right - 68, h, panel,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(line.editId)),
                                    composeWindows.instance, nullptr);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(composeWindows.uiFont), FALSE);
        if (line.editId == IDC_FROM_EDIT) {
            previousFromProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SenderDisplayProc)));
        }
    }
    PostMessageA(GetDlgItem(panel, IDC_FROM_EDIT), WM_COMMAND, IDC_REFRESH_SENDER, 0);
}

void MoveEdits(HWND panel) {
    RECT client;
    GetClientRect(panel, &client);
    for (int i = 0; i < 5; ++i) {
        MoveWindow(GetDlgItem(panel, kLines[i].editId), kEditX, LineY(i), client.right - 68,
                   composeWindows.fieldHeight, TRUE);
    }
}

void Paint(HWND panel) {
    const PaintDc paint(panel);
    HDC dc = paint.get();
    RECT client;
    GetClientRect(panel, &client);
    RECT labels = {0, 0, 62, client.bottom};
    FillRect(dc, &labels, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const int h = composeWindows.fieldHeight;
    for (int k = 1; k <= 4; ++k) {
        if (!focusFlags[k - 1]) {
            continue;
        }
        RECT frame = {66, k * h + 2 * k + 1, client.right, (k + 1) * h + 2 * k + 3};
        FillRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        InflateRect(&frame, -1, -1);
        FillRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
}

void InvalidateFields(HWND panel, bool erase) {
    RECT client;
    GetClientRect(panel, &client);
    RECT fields = {66, 0, client.right, client.bottom};
    InvalidateRect(panel, &fields, erase ? TRUE : FALSE);
}

void OnEditNotification(HWND panel, int editId, int code, HWND edit) {
    const int index = editId - IDC_TO_EDIT;
    const char* placeholder = PlaceholderForField(editId);
    if (!placeholder) {
        return;
    }
    if (!edit) {
        edit = GetDlgItem(panel, editId);
    }
    switch (code) {
    case EN_SETFOCUS:
        focusFlags[index] = 1;
        InvalidateFields(panel, false);
        if (WindowText(edit, 510) == placeholder) {
            SetWindowTextA(edit, "");
        }
        break;
    case EN_KILLFOCUS:
        focusFlags[index] = 0;
        InvalidateFields(panel, true);
        if (WindowText(edit, 510).empty()) {
            SetWindowTextA(edit, placeholder);
            if (editId == IDC_SUBJECT_EDIT) {
                SetWindowTextA(composeWindows.mainWindow, "Kestro");
            }
        }
        break;
    case EN_UPDATE:
        if (editId == IDC_SUBJECT_EDIT) {
            std::string subject = WindowText(edit, 1023);
            const bool real = !subject.empty() && subject != placeholder;
            SetWindowTextA(composeWindows.mainWindow, real ? subject.c_str() : "Kestro");
        }
        break;
    }
}

void OnLabelClick(HWND panel, int labelId) {
    switch (labelId) {
    case IDC_FROM_LABEL:
        OpenAccountBook(composeWindows.mainWindow, GetDlgItem(panel, IDC_FROM_EDIT),
                        programDirectory, *composeWindows.settings);
        break;
    case IDC_SUBJECT_LABEL:
        SetFocus(GetDlgItem(panel, IDC_SUBJECT_EDIT));
        break;
    default: // To, CC and BCC
        OpenAddressBook(composeWindows.mainWindow,
                        {GetDlgItem(panel, IDC_TO_EDIT), GetDlgItem(panel, IDC_CC_EDIT),
                         GetDlgItem(panel, IDC_BCC_EDIT)},
                        programDirectory, composeWindows.settings->alwaysAddressMapi);
        break;
    }
}

LRESULT OnColourEdit(HDC dc, HWND edit) {
    const int id = GetDlgCtrlID(edit);
    const bool grey = ShowsPlaceholder(edit, id, 510);
    SetTextColor(dc, grey ? RGB(128, 128, 128) : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

} // namespace

LRESULT CALLBACK AddressPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateLines(panel);
        return 0;
    case WM_SIZE:
    case WM_MOVE:
        MoveEdits(panel);
        return 0;
    case WM_PAINT:
        Paint(panel);
        return 0;
    case WM_DRAWITEM:
        DrawOwnerDrawnControl(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
        return OnColourEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= IDC_FROM_LABEL && id <= IDC_SUBJECT_LABEL) {
            OnLabelClick(panel, id);
        } else {
            OnEditNotification(panel, id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        }
        return 0;
    }
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

void SubclassAddressEditsForTab() {
    for (int id = IDC_TO_EDIT; id <= IDC_SUBJECT_EDIT; ++id) {
        HWND edit = AddressEdit(id);
        if (edit) {
            previousTabProcs[id - IDC_TO_EDIT] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabProc)));
        }
    }
}
