// The report list both books show: columns titled from the string table, one item per entry
// whose texts the list asks for on demand, multiple selection, and the entries themselves,
// owned here while the dialog is open.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

struct BookColumn {
    int titleId; // string-table entry of the heading
    int width;
};

// Creates the list (report view, selection always shown, border and client edge) with its
// left-aligned columns, next in the tab order after `previous`. Nullptr when the control cannot
// be created.
HWND CreateBookList(HWND dialog, int id, RECT place, const BookColumn* columns, int columnCount,
                    HWND previous);

// The index of the first selected item, -1 when none is.
int FirstSelectedItem(HWND list);

// Copies the text of a column into the list's buffer (LVN_GETDISPINFO).
void GiveItemText(NMLVDISPINFOA* info, const std::string& text);

// The text of an edit control, whole.
std::string ControlText(HWND control);

// The entries of one book: each list item's data points at its entry.
template <typename Entry> struct BookEntries {
    HWND list = nullptr;
    int columnCount = 0;
    std::vector<std::unique_ptr<Entry>> owned;

    // Adds an item at the end of the list for a copy of the entry.
    void Add(const Entry& entry) {
        owned.push_back(std::make_unique<Entry>(entry));
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.lParam = reinterpret_cast<LPARAM>(owned.back().get());
        const LRESULT index =
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (index < 0) {
            owned.pop_back();
            return;
        }
        for (int column = 1; column < columnCount; ++column) {
            LVITEMA sub = {};
            sub.iSubItem = column;
            sub.pszText = LPSTR_TEXTCALLBACKA;
            SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&sub));
        }
    }

    // The entry of the item at index; nullptr when there is none.
    Entry* At(int index) const {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        if (index < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
            return nullptr;
        }
        return reinterpret_cast<Entry*>(item.lParam);
    }

    int Count() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    // Removes the item and frees its entry.
    void Remove(int index) {
        const Entry* entry = At(index);
        if (entry == nullptr ||
            !SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0)) {
            return;
        }
        const auto owner =
            std::find_if(owned.begin(), owned.end(),
                         [&](const std::unique_ptr<Entry>& e) { return e.get() == entry; });
        if (owner != owned.end()) {
            owned.erase(owner);
        }
    }

    void RemoveSelected() {
        for (int index; (index = FirstSelectedItem(list)) >= 0;) {
            const int before = Count();
            Remove(index);
            if (Count() == before) {
                break; // the list would not let the item go
            }
        }
    }

    // The entries in the list's display order.
    std::vector<Entry> InDisplayOrder() const {
        std::vector<Entry> entries;
        for (int index = 0; index < Count(); ++index) {
            if (const Entry* entry = At(index)) {
                entries.push_back(*entry);
            }
        }
        return entries;
    }

    // Sorts the items by column with compare(a, b, column).
    template <int (*Compare)(const Entry&, const Entry&, int)> void Sort(int column) {
        SendMessageA(list, LVM_SORTITEMS, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&CompareItems<Compare>));
    }

  private:
    template <int (*Compare)(const Entry&, const Entry&, int)>
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM column) {
        return Compare(*reinterpret_cast<const Entry*>(first),
                       *reinterpret_cast<const Entry*>(second), static_cast<int>(column));
    }
};
