#include "books/win/address_book.h"

#include <string>

#include "base/file_bytes.h"
#include "books/address_book_rules.h"
#include "books/win/book_list.h"
#include "mail/recipients.h"
#include "resources/resource_ids.h"

namespace {

const BookColumn kColumns[] = {{IDS_BOOK_COLUMN_NAME, 125}, {IDS_BOOK_COLUMN_ADDRESS, 400}};
constexpr int kMapiAddressBookItem = 1;

struct AddressBook {
    HWND mainWindow;
    RecipientFields fields;
    std::string path; // of addbook.ini
    int* alwaysAddressMapi;
    BookEntries<AddressEntry> entries;
};

// What an entry dialog (ADDRESSBOX, EDITADDRESSBOX) works on.
struct EntryEdit {
    AddressEntry entry;
    bool accepted;
};

AddressBook* BookOf(HWND dialog) {
    return reinterpret_cast<AddressBook*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

INT_PTR CALLBACK EntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    EntryEdit* edit = reinterpret_cast<EntryEdit*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        edit = reinterpret_cast<EntryEdit*>(lParam);
        SendDlgItemMessageA(dialog, IDC_AE_NAME, EM_LIMITTEXT, kAddressNameLimit, 0);
        SendDlgItemMessageA(dialog, IDC_AE_ADDRESS, EM_LIMITTEXT, kAddressTextLimit, 0);
        SetDlgItemTextA(dialog, IDC_AE_NAME, edit->entry.name.c_str());
        SetDlgItemTextA(dialog, IDC_AE_ADDRESS, edit->entry.address.c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            edit->entry.name =
                ControlText(GetDlgItem(dialog, IDC_AE_NAME)).substr(0, kAddressNameLimit);
            edit->entry.address =
                ControlText(GetDlgItem(dialog, IDC_AE_ADDRESS)).substr(0, kAddressTextLimit);
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

// The drop-down comes first in the tab order.
HWND CreateSourceBox(HWND dialog) {
    HWND box = CreateWindowExA(WS_EX_STATICEDGE, "combobox", "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               10, 10, 200, 200, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_AB_SOURCE)),
                               InstanceOf(dialog), nullptr);
    SendMessageA(box, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Kestro Address Book"));
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("MAPI Address Book"));
    SendMessageA(box, CB_SETCURSEL, 0, 0);
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return box;
}

void FillRecipientEdit(HWND dialog, int editId, HWND field, RecipientField kind) {
    const std::string text = RecipientEditText(ControlText(field), RecipientPlaceholder(kind));
    SetDlgItemTextA(dialog, editId, text.c_str());
}

void OpenBook(HWND dialog, AddressBook& book) {
    HWND source = CreateSourceBox(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    const RECT place = {7, 71, 7 + client.right / 2, 71 + client.bottom * 21 / 32};
    book.entries.list = CreateBookList(dialog, IDC_AB_LIST, place, kColumns, 2, source);
    book.entries.columnCount = 2;
    FillRecipientEdit(dialog, IDC_AB_TO_EDIT, book.fields.to, RecipientField::To);
    FillRecipientEdit(dialog, IDC_AB_CC_EDIT, book.fields.cc, RecipientField::Cc);
    FillRecipientEdit(dialog, IDC_AB_BCC_EDIT, book.fields.bcc, RecipientField::Bcc);
    std::string bytes;
    if (ReadFileBytes(book.path.c_str(), bytes)) {
        for (const AddressEntry& entry : ParseAddressBook(bytes)) {
            book.entries.Add(entry);
        }
    }
    if (*book.alwaysAddressMapi == 1) {
        CheckDlgButton(dialog, IDC_AB_ALWAYS_MAPI, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        PostMessageA(book.mainWindow, WM_COMMAND, IDM_MAPI_ADDRESS, 0);
    }
}

// To: ->, Cc: -> and Bcc: ->: every selected entry's address joins the edit, in list order.
void AddSelected(HWND dialog, AddressBook& book, int editId) {
    HWND edit = GetDlgItem(dialog, editId);
    std::string text = ControlText(edit);
    const int count = book.entries.Count();
    for (int index = -1;
         (index = static_cast<int>(SendMessageA(book.entries.list, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0 &&
         index < count;) {
        if (const AddressEntry* entry = book.entries.At(index)) {
            AppendRecipientLine(text, entry->address);
        }
    }
    SetWindowTextA(edit, text.c_str());
}

void NewEntry(HWND dialog, AddressBook& book) {
    EntryEdit edit = {};
    DialogBoxParamA(InstanceOf(dialog), "ADDRESSBOX", dialog, EntryDialogProc,
                    reinterpret_cast<LPARAM>(&edit));
    if (edit.accepted && !edit.entry.address.empty()) {
        book.entries.Add(edit.entry);
    }
}

// The edited entry leaves the list and comes back last: changed on OK (unless its address was
// emptied), as it was on Cancel.
void EditEntry(HWND dialog, AddressBook& book) {
    const int index = FirstSelectedItem(book.entries.list);
    const AddressEntry* selected = book.entries.At(index);
    if (selected == nullptr) {
        return;
    }
    EntryEdit edit = {*selected, false};
    const AddressEntry unchanged = *selected;
    book.entries.Remove(index);
    DialogBoxParamA(InstanceOf(dialog), "EDITADDRESSBOX", dialog, EntryDialogProc,
                    reinterpret_cast<LPARAM>(&edit));
    if (!edit.accepted) {
        book.entries.Add(unchanged);
    } else if (!edit.entry.address.empty()) {
        book.entries.Add(edit.entry);
    }
}

void Accept(HWND dialog, AddressBook& book) {
    const struct {
        int editId;
        HWND field;
    } targets[] = {{IDC_AB_TO_EDIT, book.fields.to},
                   {IDC_AB_CC_EDIT, book.fields.cc},
                   {IDC_AB_BCC_EDIT, book.fields.bcc}};
    for (const auto& target : targets) {
        std::string fieldText;
        if (FieldTextFromRecipientEdit(ControlText(GetDlgItem(dialog, target.editId)), fieldText)) {
            SetWindowTextA(target.field, fieldText.c_str());
        }
    }
    WriteFileBytes(book.path.c_str(), FormatAddressBook(book.entries.InDisplayOrder()));
    *book.alwaysAddressMapi = IsDlgButtonChecked(dialog, IDC_AB_ALWAYS_MAPI) == BST_CHECKED;
    EndDialog(dialog, 1);
}

void OnListNotify(AddressBook& book, NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (const AddressEntry* entry = book.entries.At(info->item.iItem)) {
            GiveItemText(info, AddressColumnText(*entry, info->item.iSubItem));
        }
        break;
    }
    case LVN_COLUMNCLICK:
        book.entries.Sort<CompareAddressEntries>(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        break;
    case NM_DBLCLK: // a name double-clicked goes to the To edit
        if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) {
            AddSelected(GetParent(header->hwndFrom), book, IDC_AB_TO_EDIT);
        }
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
            book.entries.RemoveSelected();
        }
        break;
    }
}

INT_PTR CALLBACK AddressBookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AddressBook* book = BookOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OpenBook(dialog, *reinterpret_cast<AddressBook*>(lParam));
        SetFocus(reinterpret_cast<AddressBook*>(lParam)->entries.list);
        return FALSE; // the focus is set
    case WM_NOTIFY:
        if (book && reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_AB_LIST) {
            OnListNotify(*book, reinterpret_cast<NMHDR*>(lParam));
        }
        return TRUE;
    case WM_COMMAND:
        if (!book) {
            break;
        }
        switch (LOWORD(wParam)) {
        case IDC_AB_TO:
        case IDC_AB_CC:
        case IDC_AB_BCC:
            AddSelected(dialog, *book, IDC_AB_TO_EDIT + LOWORD(wParam) - IDC_AB_TO);
            return TRUE;
        case IDC_AB_NEW:
            NewEntry(dialog, *book);
            return TRUE;
        case IDC_AB_EDIT:
            EditEntry(dialog, *book);
            return TRUE;
        case IDC_AB_DELETE:
            book->entries.RemoveSelected();
            return TRUE;
        case IDC_AB_SOURCE:
            if (HIWORD(wParam) == CBN_SELCHANGE &&
                SendDlgItemMessageA(dialog, IDC_AB_SOURCE, CB_GETCURSEL, 0, 0) ==
                    kMapiAddressBookItem) {
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                PostMessageA(book->mainWindow, WM_COMMAND, IDM_MAPI_ADDRESS, 0);
            }
            return TRUE;
        case IDOK:
            Accept(dialog, *book);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 1); // nothing saved, the fields untouched
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void OpenAddressBook(HWND mainWindow, const RecipientFields& fields, const char* folder,
                     int& alwaysAddressMapi) {
    AddressBook book = {
        mainWindow, fields, std::string(folder) + "addbook.ini", &alwaysAddressMapi, {}};
    DialogBoxParamA(InstanceOf(mainWindow), "ADDRESSBOOKBOX", mainWindow, AddressBookProc,
                    reinterpret_cast<LPARAM>(&book));
}
