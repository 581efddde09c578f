#include "books/win/account_book.h"

#include <string>

#include "base/file_bytes.h"
#include "books/account_book_rules.h"
#include "books/account_logins.h"
#include "books/win/book_list.h"
#include "compose/sender_line.h"
#include "resources/resource_ids.h"

namespace {

const BookColumn kColumns[] = {{IDS_BOOK_COLUMN_NAME, 120},
                               {IDS_BOOK_COLUMN_ADDRESS, 140},
                               {IDS_BOOK_COLUMN_SERVER, 100},
                               {IDS_BOOK_COLUMN_REPLY, 130}};

struct AccountBook {
    HWND fromEdit;
    std::string path;      // of accbook.ini
    std::string loginPath; // of acclogin.ini, the accounts' logins
    ProgramSettings* settings;
    BookEntries<AccountEntry> entries;
};

// What an entry dialog (ACCOUNTADDBOX, ACCOUNTEDITBOX) works on.
struct AccountEdit {
    AccountEntry entry;
    bool accepted;
};

struct EntryField {
    int id;
    std::string AccountEntry::*text;
    size_t limit;
};
const EntryField kEntryFields[] = {{IDC_ACE_NAME, &AccountEntry::name, kAccountNameLimit},
                                   {IDC_ACE_ADDRESS, &AccountEntry::address, kAccountFieldLimit},
                                   {IDC_ACE_SERVER, &AccountEntry::server, kAccountFieldLimit},
                                   {IDC_ACE_REPLY, &AccountEntry::replyTo, kAccountFieldLimit}};

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

INT_PTR CALLBACK AccountEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AccountEdit* edit = reinterpret_cast<AccountEdit*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        edit = reinterpret_cast<AccountEdit*>(lParam);
        for (const EntryField& field : kEntryFields) {
            SendDlgItemMessageA(dialog, field.id, EM_LIMITTEXT, field.limit, 0);
            SetDlgItemTextA(dialog, field.id, (edit->entry.*field.text).c_str());
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            for (const EntryField& field : kEntryFields) {
                edit->entry.*field.text =
                    ControlText(GetDlgItem(dialog, field.id)).substr(0, field.limit);
            }
            edit->accepted = true;
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

AccountEntry CurrentIdentity(const ProgramSettings& settings) {
    return {settings.userName, settings.mailFrom, settings.serverName, settings.replyTo};
}

void OpenBook(HWND dialog, AccountBook& book) {
    RECT client;
    GetClientRect(dialog, &client);
    const RECT place = {7, 40, client.right - 7, 40 + client.bottom * 11 / 16};
    book.entries.list = CreateBookList(dialog, IDC_ACB_LIST, place, kColumns, 4,
                                       GetDlgItem(dialog, IDC_ACB_CURRENT));
    book.entries.columnCount = 4;
    SetDlgItemTextA(dialog, IDC_ACB_CURRENT, FormatSenderLine(*book.settings).c_str());
    std::string bytes;
    if (!ReadFileBytes(book.path.c_str(), bytes)) {
        bytes.clear(); // no book yet
    }
    for (const AccountEntry& entry : OpeningAccountList(bytes, CurrentIdentity(*book.settings))) {
        book.entries.Add(entry);
    }
}

void NewAccount(HWND dialog, AccountBook& book) {
    AccountEdit edit = {};
    DialogBoxParamA(InstanceOf(dialog), "ACCOUNTADDBOX", dialog, AccountEntryProc,
                    reinterpret_cast<LPARAM>(&edit));
    if (edit.accepted && NewAccountIsKept(edit.entry)) {
        book.entries.Add(edit.entry);
    }
}

// The edited entry leaves the list and comes back last, changed on OK, as it was on Cancel;
// either way only with an address.
void EditAccount(HWND dialog, AccountBook& book) {
    const int index = FirstSelectedItem(book.entries.list);
    const AccountEntry* selected = book.entries.At(index);
    if (selected == nullptr) {
        return;
    }
    AccountEdit edit = {*selected, false};
    book.entries.Remove(index);
    const AccountEntry unchanged = edit.entry;
    DialogBoxParamA(InstanceOf(dialog), "ACCOUNTEDITBOX", dialog, AccountEntryProc,
                    reinterpret_cast<LPARAM>(&edit));
    MessageBeep(0);
    const AccountEntry& kept = edit.accepted ? edit.entry : unchanged;
    if (EditedAccountIsKept(kept)) {
        book.entries.Add(kept);
    }
}

void TakeIdentity(const AccountEntry& entry, ProgramSettings& settings) {
    if (IsUseMapiAccount(entry)) {
        settings.useMapi = 1;
        return;
    }
    CopyField(settings.userName, entry.name);
    CopyField(settings.mailFrom, entry.address);
    CopyField(settings.serverName, entry.server);
    CopyField(settings.replyTo, entry.replyTo);
    settings.useMapi = 0;
}

// Each account keeps its own login: the one in use is recorded under the identity it was used
// with, and the chosen account's is applied.
void TakeLogin(const AccountBook& book, const AccountEntry& chosen) {
    std::string logins;
    ReadFileBytes(book.loginPath.c_str(), logins);
    const std::string recorded = RecordAccountLogin(logins, *book.settings);
    if (recorded != logins) {
        WriteFileBytes(book.loginPath.c_str(), recorded);
    }
    ApplyAccountLogin(recorded, chosen.address.c_str(), chosen.server.c_str(), *book.settings);
}

void Accept(HWND dialog, AccountBook& book) {
    if (const AccountEntry* chosen = book.entries.At(FirstSelectedItem(book.entries.list))) {
        if (!IsUseMapiAccount(*chosen)) {
            TakeLogin(book, *chosen);
        }
        TakeIdentity(*chosen, *book.settings);
    }
    PostMessageA(book.fromEdit, WM_COMMAND, IDC_REFRESH_SENDER, 0);
    WriteFileBytes(book.path.c_str(), FormatAccountBook(book.entries.InDisplayOrder()));
    EndDialog(dialog, 1);
}

int PlatformCompare(const char* a, const char* b) {
    return lstrcmpiA(a, b);
}

int CompareForSort(const AccountEntry& a, const AccountEntry& b, int column) {
    return CompareAccountEntries(a, b, column, PlatformCompare);
}

void OnListNotify(AccountBook& book, NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (const AccountEntry* entry = book.entries.At(info->item.iItem)) {
            GiveItemText(info, AccountColumnText(*entry, info->item.iSubItem));
        }
        break;
    }
    case LVN_COLUMNCLICK:
        book.entries.Sort<CompareForSort>(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        break;
    case NM_DBLCLK: // an account double-clicked is chosen
        if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) {
            PostMessageA(GetParent(header->hwndFrom), WM_COMMAND, IDOK, 0);
        }
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
            book.entries.RemoveSelected();
        }
        break;
    }
}

INT_PTR CALLBACK AccountBookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AccountBook* book = reinterpret_cast<AccountBook*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OpenBook(dialog, *reinterpret_cast<AccountBook*>(lParam));
        SetFocus(reinterpret_cast<AccountBook*>(lParam)->entries.list);
        return FALSE; // the focus is set
    case WM_NOTIFY:
        if (book && reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_ACB_LIST) {
            OnListNotify(*book, reinterpret_cast<NMHDR*>(lParam));
        }
        return TRUE;
    case WM_COMMAND:
        if (!book) {
            break;
        }
        switch (LOWORD(wParam)) {
        case IDC_ACB_NEW:
            NewAccount(dialog, *book);
            return TRUE;
        case IDC_ACB_EDIT:
            EditAccount(dialog, *book);
            return TRUE;
        case IDC_ACB_DELETE:
            book->entries.RemoveSelected();
            return TRUE;
        case IDOK:
            Accept(dialog, *book);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 1); // nothing saved, the settings untouched
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void OpenAccountBook(HWND owner, HWND fromEdit, const char* folder, ProgramSettings& settings) {
    AccountBook book = {fromEdit,
                        std::string(folder) + "accbook.ini",
                        std::string(folder) + "acclogin.ini",
                        &settings,
                        {}};
    DialogBoxParamA(InstanceOf(owner), "ACCOUNTBOOKBOX", owner, AccountBookProc,
                    reinterpret_cast<LPARAM>(&book));
}
