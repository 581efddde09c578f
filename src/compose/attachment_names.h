// Rules on attachment file names: how the strip labels an entry, which files it asks about
// before opening them, and which dropped files it leaves alone.
#pragma once

#include <cstddef>

// The strip's label: the part after the last backslash when it is shorter than 13 characters,
// else its first 9 characters followed by "...". Cut to outSize and always terminated.
void AttachmentDisplayName(const char* path, char* out, size_t outSize);

// The part after the last backslash (the whole path when there is none).
const char* StripEntryFileName(const char* path);

// The directory of the path, up to and including its last backslash; empty when there is none.
void StripEntryDirectory(const char* path, char* out, size_t outSize);

// True for a file name longer than 4 characters that ends in ".exe", ".com" or ".doc" (compared
// as written: the table holds lower-case paths). Opening such a file by double click asks first.
bool OpeningAsksFirst(const char* fileName);

// True when a dropped file is not to be attached: a folder or a shortcut, told by the shell's
// type name ("File Folder", "Shortcut", in any case), by the folder flag or by a ".lnk" ending.
bool DroppedFileIsSkipped(const char* path, const char* typeName, bool isFolder);

template <size_t N> void AttachmentDisplayName(const char* path, char (&out)[N]) {
    AttachmentDisplayName(path, out, N);
}
template <size_t N> void StripEntryDirectory(const char* path, char (&out)[N]) {
    StripEntryDirectory(path, out, N);
}
