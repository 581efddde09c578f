#include "compose/attachment_table.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "base/scoped_file.h"

namespace {

bool DiskCanOpenForReading(const char* path) {
    return static_cast<bool>(ScopedFile(path, "rb"));
}

long long DiskFileSize(const char* path) {
#ifdef _WIN32
    struct _stati64 info; // the plain stat size is 32 bits on Windows
    if (_stati64(path, &info) != 0) {
        return -1;
    }
#else
    struct stat info;
    if (stat(path, &info) != 0) {
        return -1;
    }
#endif
    return static_cast<long long>(info.st_size);
}

const AttachmentFileChecks diskChecks = {DiskCanOpenForReading, DiskFileSize};

} // namespace

const AttachmentFileChecks& DiskFileChecks() {
    return diskChecks;
}

int AddResultCode(AddAttachmentResult result) {
    return result == AddAttachmentResult::Added || result == AddAttachmentResult::EmptyFile ? 1 : 0;
}

void LowerCaseAscii(char* text) {
    for (; *text; ++text) {
        if (*text >= 'A' && *text <= 'Z') {
            *text = static_cast<char>(*text - 'A' + 'a');
        }
    }
}

int CountAttachments(const AttachmentTable& table) {
    int count = 0;
    while (count < kAttachmentSlots && table.slots[count].path[0] != '\0') {
        ++count;
    }
    return count;
}

AddAttachmentResult AddAttachmentPath(AttachmentTable& table, const char* path,
                                      const AttachmentFileChecks& checks, int* slot) {
    if (slot) {
        *slot = -1;
    }
    if (std::strlen(path) >= sizeof table.slots[0].path) {
        return AddAttachmentResult::TooLong;
    }
    char lowered[kAttachmentPathSize];
    std::strcpy(lowered, path);
    LowerCaseAscii(lowered);

    if (!checks.canOpenForReading(lowered)) {
        return AddAttachmentResult::Unreadable;
    }
    const long long size = checks.fileSize(lowered);
    if (size < 0) {
        return AddAttachmentResult::Unreadable;
    }
    if (size < 1) {
        return AddAttachmentResult::EmptyFile;
    }

    for (int i = 0; i < kAttachmentSlots; ++i) {
        AttachmentEntry& entry = table.slots[i];
        if (entry.path[0] == '\0') {
            entry = AttachmentEntry{};
            std::strcpy(entry.path, lowered);
            if (slot) {
                *slot = i;
            }
            return AddAttachmentResult::Added;
        }
        if (std::strcmp(entry.path, lowered) == 0) {
            if (slot) {
                *slot = i;
            }
            return AddAttachmentResult::Duplicate;
        }
    }
    return AddAttachmentResult::TableFull;
}

int FindAttachment(const AttachmentTable& table, const char* path) {
    const int count = CountAttachments(table);
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(table.slots[i].path, path) == 0) {
            return i;
        }
    }
    return -1;
}

bool RemoveAttachmentAt(AttachmentTable& table, int slot) {
    if (slot < 0 || slot >= kAttachmentSlots || table.slots[slot].path[0] == '\0') {
        return false;
    }
    for (int i = slot; i < kAttachmentSlots - 1; ++i) {
        table.slots[i] = table.slots[i + 1];
    }
    table.slots[kAttachmentSlots - 1] = AttachmentEntry{};
    return true;
}

bool RemoveAttachmentPath(AttachmentTable& table, const char* path) {
    return RemoveAttachmentAt(table, FindAttachment(table, path));
}

void ClearAttachmentTable(AttachmentTable& table) {
    for (AttachmentEntry& entry : table.slots) {
        entry = AttachmentEntry{};
    }
}
