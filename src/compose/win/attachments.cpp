#include "compose/win/attachments.h"

#include <shellapi.h>

#include <cstring>

#include "base/win/main_window_messages.h"
#include "compose/attachment_names.h"
#include "compose/win/compose_windows.h"
#include "resources/resource_ids.h"

AttachmentTable attachmentTable;

namespace {

void DestroyEntryIcons(AttachmentEntry& entry) {
    if (entry.icon) {
        DestroyIcon(static_cast<HICON>(entry.icon));
    }
    if (entry.selectedIcon) {
        DestroyIcon(static_cast<HICON>(entry.selectedIcon));
    }
    entry.icon = nullptr;
    entry.selectedIcon = nullptr;
}

void FetchEntryIcons(AttachmentEntry& entry) {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(entry.path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_TYPENAME)) {
        entry.icon = info.hIcon;
    }
    info = SHFILEINFOA{};
    if (SHGetFileInfoA(entry.path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SELECTED)) {
        entry.selectedIcon = info.hIcon;
    }
}

void Post(HWND window, UINT message, WPARAM wParam) {
    if (window) {
        PostMessageA(window, message, wParam, 0);
    }
}

} // namespace

int AddAttachment(const char* path) {
    int slot = -1;
    const AddAttachmentResult result =
        AddAttachmentPath(attachmentTable, path, DiskFileChecks(), &slot);
    if (result == AddAttachmentResult::Added) {
        FetchEntryIcons(attachmentTable.slots[slot]);
        Post(composeWindows.mainWindow, WM_RELAYOUT_BODY, 0);
        Post(composeWindows.attachStrip, WM_SIZE, 0);
        Post(composeWindows.attachStrip, WM_COMMAND, IDM_ATTACH_SCROLL_TO_END);
    } else if (result == AddAttachmentResult::Duplicate) {
        Post(composeWindows.mainWindow, WM_RELAYOUT_BODY, 0);
        Post(composeWindows.attachStrip, WM_SIZE, 0);
    }
    return AddResultCode(result);
}

void RemoveAttachment(const char* path) {
    const int slot = FindAttachment(attachmentTable, path);
    if (slot < 0) {
        return;
    }
    DestroyEntryIcons(attachmentTable.slots[slot]);
    RemoveAttachmentAt(attachmentTable, slot);
}

int AttachmentCount() {
    return CountAttachments(attachmentTable);
}

void ClearAttachments() {
    for (AttachmentEntry& entry : attachmentTable.slots) {
        DestroyEntryIcons(entry);
    }
    ClearAttachmentTable(attachmentTable);
}

void AttachDroppedFiles(HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kAttachmentPathSize];
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0 || length >= sizeof path) {
            continue; // a cut path would name another file
        }
        DragQueryFileA(drop, i, path, sizeof path);
        SHFILEINFOA info = {};
        if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_TYPENAME)) {
            continue;
        }
        const DWORD attributes = GetFileAttributesA(path);
        const bool isFolder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (DroppedFileIsSkipped(path, info.szTypeName, isFolder)) {
            continue;
        }
        AddAttachment(path); // a refused file is not reported
    }
    DragFinish(drop);
}
