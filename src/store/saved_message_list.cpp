#include "store/saved_message_list.h"

#include "store/saved_message_lines.h"

#include <cstring>
#include <vector>

namespace {

bool StartsWith(const char* line, const char* key) {
    return std::strncmp(line, key, std::strlen(key)) == 0;
}

// Passes over the count lines that follow a counted key (CC, BCC, ATTACHMENTS), so that none
// of them is read as a key of its own.
void SkipLines(LineCursor& cursor, int count, char* line) {
    for (int i = 0; i < count && ReadNextLine(cursor, line, kListLineLength); ++i) {
    }
}

unsigned char LowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

bool IsMessageFolderEntry(const char* name, bool isDirectory) {
    if (!isDirectory || name == nullptr) {
        return false;
    }
    return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

bool IsSavedMessageFileEntry(const char* name, bool isDirectory) {
    if (isDirectory || name == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    return length >= 4 && std::strcmp(name + length - 4, ".kto") == 0;
}

bool ReadSavedMessageEntry(const char* path, const char* data, size_t size,
                           SavedMessageEntry& entry) {
    std::memset(&entry, 0, sizeof entry);
    entry.attachmentMark[0] = 'N';
    if (path == nullptr || std::strlen(path) >= sizeof entry.path) {
        return false;
    }
    std::strcpy(entry.path, path);

    std::vector<char> buffer(kListLineLength);
    char* line = buffer.data();
    LineCursor cursor = StartLines(data, size);
    while (ReadNextLine(cursor, line, kListLineLength)) {
        if (StartsWith(line, "TO")) {
            const int count = ReadCount(line + 2);
            for (int i = 0; i < count && ReadNextLine(cursor, line, kListLineLength); ++i) {
                AppendKeptCharacters(entry.toText, sizeof entry.toText, line, IsAddressCharacter,
                                     false);
            }
        } else if (StartsWith(line, "CC")) {
            SkipLines(cursor, ReadCount(line + 2), line);
        } else if (StartsWith(line, "BCC")) {
            SkipLines(cursor, ReadCount(line + 3), line);
        } else if (StartsWith(line, "SUBJECT")) {
            CopyKeptCharacters(entry.subject, sizeof entry.subject, line + 7, IsTextCharacter);
        } else if (StartsWith(line, "ATTACHMENTS")) {
            const int count = ReadCount(line + 11);
            entry.attachmentMark[0] = count > 0 ? 'Y' : 'N';
            SkipLines(cursor, count, line);
        } else if (StartsWith(line, "DATE=")) {
            CopyKeptCharacters(entry.date, sizeof entry.date, line + 5, IsTextCharacter);
        } else if (StartsWith(line, "BODY")) {
            break; // the body's lines are the message's text, whatever they start with
        }
    }
    return true;
}

const char* SavedMessageColumnText(const SavedMessageEntry& entry, int column) {
    switch (column) {
    case 0:
        return entry.toText;
    case 1:
        return entry.subject;
    case 2:
        return entry.date;
    case 3:
        return entry.attachmentMark;
    default:
        return "";
    }
}

int CompareBytesNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    while (*x != '\0' && LowerAscii(*x) == LowerAscii(*y)) {
        ++x;
        ++y;
    }
    return static_cast<int>(LowerAscii(*x)) - static_cast<int>(LowerAscii(*y));
}

int CompareSavedMessageEntries(const SavedMessageEntry& a, const SavedMessageEntry& b, int column,
                               TextCompare platformCompare) {
    const char* left = SavedMessageColumnText(a, column);
    const char* right = SavedMessageColumnText(b, column);
    if (column == 0 || platformCompare == nullptr) {
        return CompareBytesNoCase(left, right);
    }
    return platformCompare(left, right);
}
