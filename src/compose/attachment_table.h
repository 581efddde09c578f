// The attachment table: 64 slots packed from slot 0, each holding the lower-cased full path of
// one attached file. Everything that attaches a file goes through AddAttachmentPath; the sending
// and saving code reads the slots directly.
#pragma once

#include <cstdint>

constexpr int kAttachmentSlots = 64;
constexpr int kAttachmentPathSize = 1024; // 1023 characters and the terminator

struct AttachmentEntry {
    char path[kAttachmentPathSize]; // empty: a free slot, and the end of the list
    uint32_t selected;              // 1 while the entry is selected in the strip
    void* icon;                     // shell icons, owned by the window layer
    void* selectedIcon;
};

struct AttachmentTable {
    AttachmentEntry slots[kAttachmentSlots];
};

// How the table looks at files, so that tests can stand in for the disk.
struct AttachmentFileChecks {
    bool (*canOpenForReading)(const char* path);
    long long (*fileSize)(const char* path); // -1 when the size cannot be read
};

// The real checks: fopen "rb" and stat.
const AttachmentFileChecks& DiskFileChecks();

enum class AddAttachmentResult {
    Added,
    EmptyFile,  // accepted, nothing added
    Unreadable, // cannot be opened, or its size cannot be read
    TooLong,    // longer than 1023 characters
    Duplicate,
    TableFull,
};

// 1 for Added and EmptyFile, 0 for the refusals.
int AddResultCode(AddAttachmentResult result);

// Changes the letters A to Z to lower case; nothing else is touched.
void LowerCaseAscii(char* text);

// The number of used slots: the index of the first empty one (64 when all are used).
int CountAttachments(const AttachmentTable& table);

// Adds the file at the first free slot, its path lower-cased. `slot` (may be null) receives the
// slot used, or for a duplicate the slot that already holds the path; -1 otherwise.
AddAttachmentResult AddAttachmentPath(AttachmentTable& table, const char* path,
                                      const AttachmentFileChecks& checks, int* slot);

// The first slot whose path equals `path` byte for byte, or -1.
int FindAttachment(const AttachmentTable& table, const char* path);

// Removes the entry and moves the ones after it one place towards the front; slot 63 is cleared.
// False when the slot is out of range or free.
bool RemoveAttachmentAt(AttachmentTable& table, int slot);

// Removes the first entry whose path equals `path`; false when there is none.
bool RemoveAttachmentPath(AttachmentTable& table, const char* path);

void ClearAttachmentTable(AttachmentTable& table);
