// Whether a file exists and can be opened for reading, as both programs check programs and
// codec files before they use them.
#pragma once

#include <windows.h>

inline bool FileIsReadable(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}
