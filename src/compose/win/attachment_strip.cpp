#include "compose/win/attachment_strip.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "base/file_copy.h"
#include "base/program_settings.h"
#include "base/win/main_window_messages.h"
#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "compose/attachment_names.h"
#include "compose/strip_geometry.h"
#include "compose/win/attach_file_command.h"
#include "compose/win/compose_windows.h"
#include "print/size_texts.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kPaintHeight = 75; // the strip's height in the main window

struct StripState {
    int scrollPosition; // first visible line, in text heights
    int scrollMaximum;
    int focus;
    int clickOnEntry; // set by a right click, consumed by the pop-up menu
    int selectionFlag;
    ScopedMenu menu; // the resource "ATTACHPOPUPMENU"
    HMENU popup;     // its first submenu
    HWND scrollBar;
    StripMetrics metrics;
    int externalLeading;
};

StripState state;

int ScrollBarWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

StripGrid CurrentGrid(HWND strip) {
    RECT client;
    GetClientRect(strip, &client);
    return ComputeStripGrid(client.right, state.metrics);
}

int FirstSelected() {
    const int count = AttachmentCount();
    for (int i = 0; i < count; ++i) {
        if (attachmentTable.slots[i].selected) {
            return i;
        }
    }
    return -1;
}

bool AnySelected() {
    return FirstSelected() >= 0;
}

int EntryAt(HWND strip, int x, int y) {
    return StripHitTest(CurrentGrid(strip), state.metrics, AttachmentCount(), state.scrollPosition,
                        x, y);
}

// The hit test of a left click: without Ctrl the selection is cleared first; the entry under
// the point is toggled. Returns its index, or -1.
int SelectAt(HWND strip, int x, int y, bool control) {
    const int count = AttachmentCount();
    if (!control) {
        for (int i = 0; i < count; ++i) {
            attachmentTable.slots[i].selected = 0;
        }
    }
    const int hit = EntryAt(strip, x, y);
    if (hit >= 0) {
        attachmentTable.slots[hit].selected ^= 1u;
    }
    InvalidateRect(strip, nullptr, TRUE);
    return hit;
}

void OpenEntry(HWND strip, int index, bool askFirst, bool reportFailure) {
    char path[kAttachmentPathSize];
    std::strcpy(path, attachmentTable.slots[index].path);
    char directory[kAttachmentPathSize];
    StripEntryDirectory(path, directory);
    const char* name = StripEntryFileName(path);
    if (askFirst && OpeningAsksFirst(name) &&
        ShowMessageBox(strip, "Open File Attachment?", path, MB_OKCANCEL) != IDOK) {
        return;
    }
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(strip, "open", name, nullptr, directory, SW_SHOWNORMAL));
    if (reportFailure && result == SE_ERR_NOASSOC) {
        ShowMessageBox(strip,
                       "This file does not have a file association.  Create a file association "
                       "in\nMy Computer-> View-> Options.",
                       path, MB_OK | MB_ICONSTOP);
    }
}

void PostRelayout() {
    if (composeWindows.mainWindow) {
        PostMessageA(composeWindows.mainWindow, WM_RELAYOUT_BODY, 0, 0);
    }
}

// Removes every selected entry; true when anything was removed.
bool RemoveSelected(HWND strip) {
    bool removed = false;
    int i = 0;
    while (i < kAttachmentSlots && attachmentTable.slots[i].path[0] != '\0') {
        if (attachmentTable.slots[i].selected) {
            char path[kAttachmentPathSize];
            std::strcpy(path, attachmentTable.slots[i].path);
            RemoveAttachment(path); // the next entry moves into slot i
            removed = true;
        } else {
            ++i;
        }
    }
    if (removed) {
        PostRelayout();
        PostMessageA(strip, WM_SIZE, 0, 0); // the scroll range follows the count
    }
    return removed;
}

void SaveCopy(HWND strip) {
    const int index = FirstSelected();
    if (index < 0) {
        return;
    }
    char source[kAttachmentPathSize];
    std::strcpy(source, attachmentTable.slots[index].path);
    char target[kAttachmentPathSize];
    std::strcpy(target, StripEntryFileName(source));

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = strip;
    dialog.lpstrFilter = kAttachmentFileFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = target;
    dialog.nMaxFile = sizeof target;
    dialog.lpstrInitialDir = composeWindows.settings->attachDir;
    dialog.lpstrTitle = "Save As";
    // A copy goes to a new file as well: the chosen file need not exist yet.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog)) {
        return;
    }
    // Writing over the attached file itself would truncate it before it is read.
    char fullTarget[kAttachmentPathSize];
    char fullSource[kAttachmentPathSize];
    const DWORD targetLength = GetFullPathNameA(target, sizeof fullTarget, fullTarget, nullptr);
    const DWORD sourceLength = GetFullPathNameA(source, sizeof fullSource, fullSource, nullptr);
    if (targetLength == 0 || targetLength >= sizeof fullTarget || sourceLength == 0 ||
        sourceLength >= sizeof fullSource) {
        return;
    }
    LowerCaseAscii(fullTarget);
    LowerCaseAscii(fullSource);
    if (std::strcmp(fullTarget, fullSource) == 0) {
        return;
    }
    CopyFileInBlocks(source, target); // no message either way
}

void ScrollTo(HWND strip, int position) {
    if (position > state.scrollMaximum) {
        position = state.scrollMaximum;
    }
    if (position < 0) {
        position = 0;
    }
    if (position == state.scrollPosition) {
        return;
    }
    state.scrollPosition = position;
    SetScrollPos(state.scrollBar, SB_CTL, position, TRUE);
    RECT area;
    GetClientRect(strip, &area);
    area.right -= ScrollBarWidth();
    InvalidateRect(strip, &area, TRUE);
}

void OnVerticalScroll(HWND strip, WPARAM wParam) {
    SetFocus(strip);
    RECT client;
    GetClientRect(strip, &client);
    int lineHeight = state.metrics.textHeight + state.externalLeading;
    if (lineHeight < 1) {
        lineHeight = 1;
    }
    const int page = client.bottom / lineHeight;
    int position = state.scrollPosition;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        --position;
        break;
    case SB_LINEDOWN:
        if (position < state.scrollMaximum) {
            ++position;
        }
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = HIWORD(wParam);
        break;
    default:
        return;
    }
    ScrollTo(strip, position);
}

void OnCreate(HWND strip) {
    state = StripState{};
    // The painting covers the client area; the scroll bar keeps its own.
    SetWindowLongPtrA(strip, GWL_STYLE, GetWindowLongPtrA(strip, GWL_STYLE) | WS_CLIPCHILDREN);
    state.menu.reset(LoadMenuA(composeWindows.instance, "ATTACHPOPUPMENU"));
    state.popup = state.menu ? GetSubMenu(state.menu.get(), 0) : nullptr;

    TEXTMETRICA text = {};
    {
        const WindowDc dc(strip);
        GetTextMetricsA(dc.get(), &text);
    }
    state.metrics = {static_cast<int>(text.tmAveCharWidth), static_cast<int>(text.tmHeight),
                     GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    state.externalLeading = static_cast<int>(text.tmExternalLeading);

    RECT client;
    GetClientRect(strip, &client);
    state.scrollBar = CreateWindowExA(
        0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, client.right - ScrollBarWidth(), 0,
        ScrollBarWidth(), client.bottom, strip, nullptr, composeWindows.instance, nullptr);
    SetScrollRange(state.scrollBar, SB_CTL, 0, 3, FALSE);
    SetScrollPos(state.scrollBar, SB_CTL, state.scrollPosition, TRUE);
}

void OnSizeOrMove(HWND strip) {
    RECT client;
    GetClientRect(strip, &client);
    state.scrollMaximum = StripScrollMaximum(CurrentGrid(strip), AttachmentCount());
    if (state.scrollPosition > state.scrollMaximum) {
        state.scrollPosition = state.scrollMaximum; // entries were removed
    }
    SetScrollRange(state.scrollBar, SB_CTL, 0, state.scrollMaximum, FALSE);
    SetScrollPos(state.scrollBar, SB_CTL, state.scrollPosition, TRUE);
    MoveWindow(state.scrollBar, client.right - ScrollBarWidth(), 0, ScrollBarWidth(), client.bottom,
               TRUE);
}

void DrawLabel(HDC dc, int iconX, int y, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    TextOutA(dc, StripLabelX(state.metrics, iconX, length), y, text, length);
}

void DrawEntry(HDC dc, int index, int x, int y) {
    const AttachmentEntry& entry = attachmentTable.slots[index];
    const bool highlighted = entry.selected && state.focus;
    void* icon = highlighted ? entry.selectedIcon : entry.icon;
    if (icon) {
        DrawIcon(dc, x, y, static_cast<HICON>(icon));
    }
    SetTextColor(dc, highlighted ? RGB(255, 255, 255) : RGB(0, 0, 0));
    SetBkColor(dc, highlighted ? RGB(0, 0, 127) : RGB(255, 255, 255));

    char name[16];
    AttachmentDisplayName(entry.path, name);
    DrawLabel(dc, x, y + state.metrics.iconHeight, name);
    const long long size = DiskFileChecks().fileSize(entry.path);
    if (size >= 0) {
        char sizeText[kSizeTextLength];
        FormatFileSize(size, sizeText);
        DrawLabel(dc, x, y + state.metrics.iconHeight + state.metrics.textHeight, sizeText);
    }
}

void OnPaint(HWND strip) {
    const PaintDc paint(strip);
    HDC dc = paint.get();
    RECT client;
    GetClientRect(strip, &client);
    const int width = GetSystemMetrics(SM_CXFULLSCREEN);
    const MemoryCanvas canvas(dc, width, kPaintHeight);
    HDC memory = canvas.get();
    RECT all = {0, 0, width, kPaintHeight};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const SelectedObject font(memory, composeWindows.uiFont);
    SetBkMode(memory, OPAQUE);

    const StripGrid grid = ComputeStripGrid(client.right, state.metrics);
    const int count = AttachmentCount();
    for (int i = 0; i < count; ++i) {
        int x = 0;
        int y = 0;
        StripIconPosition(grid, state.metrics, i, state.scrollPosition, &x, &y);
        if (y >= kPaintHeight || y + grid.rowHeight <= 0) {
            continue; // scrolled out of view
        }
        DrawEntry(memory, i, x, y);
    }
    BitBlt(dc, 0, 0, client.right, kPaintHeight, memory, 0, 0, SRCCOPY);
}

void OnLeftButtonDown(HWND strip, WPARAM keys, int x, int y) {
    uint32_t previous[kAttachmentSlots];
    for (int i = 0; i < kAttachmentSlots; ++i) {
        previous[i] = attachmentTable.slots[i].selected;
    }
    const bool hadFocus = state.focus != 0;
    const int hit = SelectAt(strip, x, y, (keys & MK_CONTROL) != 0);
    if (!hadFocus && hit < 0) {
        // A click into the empty strip only brings the focus back to it.
        for (int i = 0; i < kAttachmentSlots; ++i) {
            attachmentTable.slots[i].selected = previous[i];
        }
    }
    SetFocus(strip);
}

void OnRightButtonUp(HWND strip, int x, int y) {
    SetFocus(strip);
    state.selectionFlag = AnySelected() ? 1 : 0;
    state.clickOnEntry = EntryAt(strip, x, y) >= 0 ? 1 : 0;
    if (!state.selectionFlag && SelectAt(strip, x, y, false) >= 0) {
        state.selectionFlag = 1;
    }
    if (!state.popup) {
        return;
    }
    POINT point = {x, y};
    ClientToScreen(strip, &point);
    TrackPopupMenu(state.popup, TPM_RIGHTBUTTON, point.x, point.y, 0, strip, nullptr);
}

void OnInitMenuPopup(HMENU menu) {
    if (menu != state.popup) {
        return;
    }
    const UINT onEntry = state.clickOnEntry ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_ATTACH_OPEN, MF_BYCOMMAND | onEntry);
    EnableMenuItem(menu, IDM_ATTACH_SAVE_COPY, MF_BYCOMMAND | onEntry);
    EnableMenuItem(menu, IDM_ATTACH_ADD, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_ATTACH_REMOVE,
                   MF_BYCOMMAND | (state.selectionFlag ? MF_ENABLED : MF_GRAYED));
    state.clickOnEntry = 0;
    state.selectionFlag = 0;
}

void OnKeyDown(HWND strip, WPARAM key) {
    if (key == VK_RETURN) {
        const int index = FirstSelected();
        if (index >= 0) {
            OpenEntry(strip, index, false, false);
        }
    } else if (key == VK_DELETE) {
        RemoveSelected(strip);
    }
}

void OnCommand(HWND strip, int id) {
    switch (id) {
    case IDM_ATTACH_OPEN: {
        const int index = FirstSelected();
        if (index >= 0) {
            OpenEntry(strip, index, true, true);
        }
        break;
    }
    case IDM_ATTACH_SAVE_COPY:
        SaveCopy(strip);
        PostRelayout();
        break;
    case IDM_ATTACH_ADD:
        AttachFromOpenDialog(strip, kAttachmentFileFilters);
        PostRelayout();
        break;
    case IDM_ATTACH_REMOVE:
        if (ShowMessageBox(strip, "Remove the Selected Attachment(s)?", "File Attachment Removal",
                           MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
            RemoveSelected(strip);
        }
        break;
    case IDM_ATTACH_SCROLL_TO_END: {
        int minimum = 0;
        int maximum = 0;
        GetScrollRange(state.scrollBar, SB_CTL, &minimum, &maximum);
        state.scrollPosition = maximum;
        SetScrollPos(state.scrollBar, SB_CTL, maximum, TRUE);
        InvalidateRect(strip, nullptr, TRUE);
        break;
    }
    default:
        break;
    }
}

int MouseX(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}

int MouseY(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

} // namespace

LRESULT CALLBACK AttachStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(strip);
        return 0;
    case WM_SIZE:
    case WM_MOVE:
        OnSizeOrMove(strip);
        return 0;
    case WM_PAINT:
        OnPaint(strip);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(strip, wParam, MouseX(lParam), MouseY(lParam));
        return 0;
    case WM_LBUTTONDBLCLK: {
        const int hit = SelectAt(strip, MouseX(lParam), MouseY(lParam), (wParam & MK_CONTROL) != 0);
        SetFocus(strip);
        if (hit >= 0) {
            OpenEntry(strip, hit, true, true);
        }
        return 0;
    }
    case WM_RBUTTONUP:
        OnRightButtonUp(strip, MouseX(lParam), MouseY(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(strip, wParam);
        return 0;
    case WM_VSCROLL:
        OnVerticalScroll(strip, wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(strip, LOWORD(wParam));
        return 0;
    case WM_SETFOCUS:
        state.focus = 1;
        InvalidateRect(strip, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS:
        state.focus = 0;
        InvalidateRect(strip, nullptr, TRUE);
        return 0;
    case WM_DROPFILES:
        AttachDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        state = StripState{}; // the menu is destroyed with it
        return 0;
    default:
        return DefWindowProcA(strip, message, wParam, lParam);
    }
}
