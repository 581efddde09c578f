#include "support/list_views.h"

#include <commctrl.h>

std::vector<std::string> ListRows(HWND list, int columns) {
    std::vector<std::string> rows(static_cast<size_t>(ListView_GetItemCount(list)));
    for (int item = 0; item < static_cast<int>(rows.size()); ++item) {
        for (int column = 0; column < columns; ++column) {
            char text[1024] = {};
            ListView_GetItemText(list, item, column, text, sizeof text);
            rows[static_cast<size_t>(item)] += (column ? "|" : "") + std::string(text);
        }
    }
    return rows;
}

void SelectListItem(HWND list, int item) {
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, item, state, state);
}

void DoubleClickListItem(HWND list, int item) {
    RECT rect = {};
    ListView_GetItemRect(list, item, &rect, LVIR_LABEL);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2));
}

void ClickListHeading(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    RECT rect = {};
    Header_GetItemRect(header, column, &rect);
    const int half = (rect.right - rect.left) / 2;
    const int x = rect.left + (half < 30 ? half : 30);
    const LPARAM point = MAKELPARAM(x, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_MOUSEMOVE, 0, point);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}
