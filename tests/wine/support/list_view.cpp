#include "support/list_view.h"

#include <commctrl.h>

#include <algorithm>

std::vector<std::string> ListRows(HWND list, int columns) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        std::string row;
        for (int column = 0; column < columns; ++column) {
            char text[1024] = {};
            LVITEMA request = {};
            request.iSubItem = column;
            request.pszText = text;
            request.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(&request));
            row += (column ? "|" : "") + std::string(text);
        }
        rows.push_back(row);
    }
    return rows;
}

void SelectItem(HWND list, int item) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&state));
}

void ClickColumnHeading(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&rect));
    // Clear of the divider, and near the left end: a wide column may reach beyond the list's
    // visible part.
    const int x = rect.left + std::min(30L, (rect.right - rect.left) / 2);
    const LPARAM point = MAKELPARAM(x, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_MOUSEMOVE, 0, point);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}
