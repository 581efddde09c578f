// AUTOCONFIG_BOX: the addresses of the accounts found, one of which the user takes.
#include <windows.h>

#include <commctrl.h>

#include "base/win/message_box.h"
#include "autoconfig/win/auto_config.h"
#include "resources/resource_ids.h"

namespace {

struct AccountChoice {
    const AutoConfigTarget* target;
    const CandidateTable* table;
};

// The list fills the middle of the dialog: a twentieth of the width in from each side, from a
// seventh of the height down for three quarters of it.
void CreateAccountList(HWND dialog, const CandidateTable& table) {
    RECT client;
    GetClientRect(dialog, &client);
    const int width = client.right - client.right / 10;
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
        client.right / 20, client.bottom / 7, width, client.bottom * 3 / 4, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_AC_LIST)), instance, nullptr);
    if (!list) {
        return;
    }
    // The one column fills the list inside its borders, so no sideways scroll bar shows.
    RECT inside;
    GetClientRect(list, &inside);
    char title[] = "Email Address List";
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = inside.right;
    column.pszText = title;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    int row = 0;
    for (int i = 0; i < table.count; ++i) {
        const AccountCandidate& candidate = table.slots[i];
        if (candidate.address[0] == '\0') {
            continue;
        }
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row++;
        item.pszText = const_cast<char*>(candidate.address);
        item.lParam = i; // the candidate's slot
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

// OK: the first selected account is applied; without a selection the dialog stays open.
void TakeSelectedAccount(HWND dialog, const AccountChoice& choice) {
    HWND list = GetDlgItem(dialog, IDC_AC_LIST);
    const LRESULT selected =
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = static_cast<int>(selected);
    if (selected < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ||
        item.lParam < 0 || item.lParam >= choice.table->count) {
        ShowMessageBox(dialog, "Please select your primary Email account.",
                       "Auto Configuration warning", MB_OK);
        return;
    }
    ApplyAccount(*choice.target, choice.table->slots[item.lParam], PortRule::SourceOrUnchanged);
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK AccountDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* choice = reinterpret_cast<const AccountChoice*>(lParam);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        CreateAccountList(dialog, *choice->table);
        return TRUE;
    }
    case WM_COMMAND: {
        const auto* choice =
            reinterpret_cast<const AccountChoice*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
        switch (LOWORD(wParam)) {
        case IDOK:
            TakeSelectedAccount(dialog, *choice);
            return TRUE;
        case IDCANCEL:
            ShowMessageBox(dialog,
                           "You can automatically configure Kestro later\n"
                           "from Options->Program Settings->AUTO",
                           "Auto Configuration", MB_OK);
            EndDialog(dialog, 2);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

} // namespace

INT_PTR ChooseAccount(const AutoConfigTarget& target, const CandidateTable& table) {
    AccountChoice choice = {&target, &table};
    return DialogBoxParamA(target.instance, "AUTOCONFIG_BOX", target.mainWindow, AccountDialogProc,
                           reinterpret_cast<LPARAM>(&choice));
}
