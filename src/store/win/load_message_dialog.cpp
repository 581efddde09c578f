// The Load Message dialog: a report list of every saved message under the save folder, sorted
// by a click on a column, with Load, Delete and Cancel.
#include "store/win/message_store.h"

#include <commctrl.h>

#include <string>

#include "base/file_bytes.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "base/win/scoped_handles.h"
#include "compose/current_message.h"
#include "resources/resource_ids.h"
#include "store/saved_message_list.h"
#include "store/saved_message_names.h"
#include "store/win/store_windows.h"

namespace {

struct ColumnLayout {
    int titleId;
    int width;
};
const ColumnLayout kColumns[kListColumnCount] = {{IDS_LOAD_COLUMN_TO, 120},
                                                 {IDS_LOAD_COLUMN_SUBJECT, 150},
                                                 {IDS_LOAD_COLUMN_DATE, 140},
                                                 {IDS_LOAD_COLUMN_ATTACHMENT, 75}};

int listedCount = 0; // items in the list

HWND CreateMessageList(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                                7, 10, client.right - 14, client.bottom * 7 / 8, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LOAD_LIST)),
                                instance, nullptr);
    if (!list) {
        return nullptr;
    }
    for (int column = 0; column < kListColumnCount; ++column) {
        char title[64] = {};
        LoadStringA(instance, static_cast<UINT>(kColumns[column].titleId), title, sizeof title);
        LVCOLUMNA header = {};
        header.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        header.fmt = LVCFMT_LEFT;
        header.cx = kColumns[column].width;
        header.pszText = title;
        header.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&header));
    }
    return list;
}

SavedMessageEntry* RecordOf(HWND list, int index) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<SavedMessageEntry*>(item.lParam);
}

// Copies the record to the heap and adds an item at the end whose texts come from it.
void AddSavedMessageItem(HWND list, const SavedMessageEntry& entry) {
    SavedMessageEntry* record = new SavedMessageEntry(entry);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = listedCount;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(record);
    const LRESULT index = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (index < 0) {
        delete record;
        return;
    }
    for (int column = 1; column < kListColumnCount; ++column) {
        LVITEMA sub = {};
        sub.iSubItem = column;
        sub.pszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&sub));
    }
    ++listedCount;
}

void RemoveSavedMessageItem(HWND list, int index) {
    delete RecordOf(list, index);
    if (SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0)) {
        --listedCount;
    }
}

void RemoveAllItems(HWND list) {
    while (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
        const int before = listedCount;
        RemoveSavedMessageItem(list, 0);
        if (listedCount == before) {
            break; // the list would not let the item go
        }
    }
}

int FirstSelected(HWND list) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Calls visit(name, isDirectory) for every entry of the folder but "." and "..".
template <typename Visit> void ForEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA entry;
    const ScopedFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) {
        return;
    }
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                  entry.dwFileAttributes);
        }
    } while (FindNextFileA(find.get(), &entry));
}

void ScanMessageFolder(HWND list, const std::string& folder) {
    ForEachEntry(folder, [&](const std::string& name, bool isDirectory, DWORD) {
        if (!IsSavedMessageFileEntry(name.c_str(), isDirectory)) {
            return;
        }
        const std::string path = folder + "\\" + name;
        std::string bytes;
        SavedMessageEntry entry;
        if (ReadFileBytes(path.c_str(), bytes) &&
            ReadSavedMessageEntry(path.c_str(), bytes.data(), bytes.size(), entry)) {
            AddSavedMessageItem(list, entry);
        }
    });
}

void FillSavedMessageList(HWND list) {
    const std::string saveFolder = SaveFolderPath(programDirectory);
    ForEachEntry(saveFolder, [&](const std::string& name, bool isDirectory, DWORD) {
        if (IsMessageFolderEntry(name.c_str(), isDirectory)) {
            ScanMessageFolder(list, saveFolder + "\\" + name);
        }
    });
}

// Removes the files of the message's folder and then the folder; sub-folders are left alone, so
// the folder stays when it holds one.
void DeleteMessageFolder(const char* path) {
    std::string folder = path;
    const size_t slash = folder.rfind('\\');
    if (slash == std::string::npos) {
        return;
    }
    folder.resize(slash);
    ForEachEntry(folder, [&](const std::string& name, bool isDirectory, DWORD attributes) {
        if (isDirectory) {
            return;
        }
        const std::string file = folder + "\\" + name;
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            SetFileAttributesA(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        }
        DeleteFileA(file.c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

int PlatformCompare(const char* a, const char* b) {
    return lstrcmpiA(a, b);
}

int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM column) {
    const SavedMessageEntry* a = reinterpret_cast<const SavedMessageEntry*>(first);
    const SavedMessageEntry* b = reinterpret_cast<const SavedMessageEntry*>(second);
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    return CompareSavedMessageEntries(*a, *b, static_cast<int>(column), PlatformCompare);
}

void GiveItemText(HWND list, NMLVDISPINFOA* info) {
    if (!(info->item.mask & LVIF_TEXT) || info->item.pszText == nullptr ||
        info->item.cchTextMax <= 0) {
        return;
    }
    const SavedMessageEntry* record =
        info->item.lParam != 0 ? reinterpret_cast<const SavedMessageEntry*>(info->item.lParam)
                               : RecordOf(list, info->item.iItem);
    lstrcpynA(info->item.pszText,
              record != nullptr ? SavedMessageColumnText(*record, info->item.iSubItem) : "",
              info->item.cchTextMax);
}

void OnListNotify(HWND list, NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOA:
        GiveItemText(list, reinterpret_cast<NMLVDISPINFOA*>(header));
        break;
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        SendMessageA(list, LVM_SORTITEMS, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(CompareItems));
        break;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
            // Hides the selected messages; they stay on disk.
            for (int index; (index = FirstSelected(list)) >= 0;) {
                const int before = listedCount;
                RemoveSavedMessageItem(list, index);
                if (listedCount == before) {
                    break;
                }
            }
        }
        break;
    }
}

void LoadSelected(HWND dialog, HWND list) {
    const int index = listedCount > 0 ? FirstSelected(list) : -1;
    if (index >= 0) {
        const SavedMessageEntry* record = RecordOf(list, index);
        const std::string path = record != nullptr ? record->path : "";
        alreadySent = 1; // New Message then clears without asking
        SendMessageA(storeWindows.mainWindow, WM_COMMAND, IDM_NEW_MESSAGE, 0);
        if (!path.empty()) {
            LoadMessage(path.c_str());
        }
    }
    RemoveAllItems(list);
    EndDialog(dialog, 1);
}

void DeleteSelected(HWND dialog, HWND list) {
    if (ShowMessageBox(dialog, "Are you sure you want to permanently\nremove the saved message?",
                       "Delete Message", MB_OKCANCEL) != IDOK) {
        return;
    }
    const int index = FirstSelected(list);
    if (index < 0) {
        return;
    }
    const SavedMessageEntry* record = RecordOf(list, index);
    if (record != nullptr) {
        DeleteMessageFolder(record->path);
    }
    RemoveSavedMessageItem(list, index);
}

INT_PTR CALLBACK LoadDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND list = GetDlgItem(dialog, IDC_LOAD_LIST);
    switch (message) {
    case WM_INITDIALOG:
        listedCount = 0;
        list = CreateMessageList(dialog);
        if (list) {
            FillSavedMessageList(list);
        }
        return TRUE;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (list && header->idFrom == IDC_LOAD_LIST) {
            OnListNotify(list, header);
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            LoadSelected(dialog, list);
            return TRUE;
        case IDCANCEL:
            RemoveAllItems(list);
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_LOAD_DELETE:
            DeleteSelected(dialog, list);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (list) {
            RemoveAllItems(list); // records left by a dialog that ended some other way
        }
        break;
    }
    return FALSE;
}

} // namespace

void OpenLoadMessageDialog(HWND owner) {
    DialogBoxParamA(storeWindows.instance, "LOADBOOKBOX", owner, LoadDialogProc, 0);
}
