#include "compose/attachment_names.h"

#include <cctype>
#include <cstring>

namespace {

constexpr size_t kWholeNameLimit = 13; // names this long or longer are cut
constexpr size_t kCutNameKeeps = 9;

void CopyCut(char* out, size_t outSize, const char* text, size_t length) {
    if (outSize == 0) {
        return;
    }
    if (length >= outSize) {
        length = outSize - 1;
    }
    std::memcpy(out, text, length);
    out[length] = '\0';
}

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

bool EndsWith(const char* text, size_t length, const char* ending) {
    const size_t endingLength = std::strlen(ending);
    return length >= endingLength && std::strcmp(text + length - endingLength, ending) == 0;
}

} // namespace

const char* StripEntryFileName(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

void AttachmentDisplayName(const char* path, char* out, size_t outSize) {
    const char* name = StripEntryFileName(path);
    const size_t length = std::strlen(name);
    if (length < kWholeNameLimit) {
        CopyCut(out, outSize, name, length);
        return;
    }
    char cut[kCutNameKeeps + 4];
    std::memcpy(cut, name, kCutNameKeeps);
    std::strcpy(cut + kCutNameKeeps, "...");
    CopyCut(out, outSize, cut, std::strlen(cut));
}

void StripEntryDirectory(const char* path, char* out, size_t outSize) {
    const char* name = StripEntryFileName(path);
    CopyCut(out, outSize, path, static_cast<size_t>(name - path));
}

bool OpeningAsksFirst(const char* fileName) {
    const size_t length = std::strlen(fileName);
    if (length <= 4) {
        return false;
    }
    return EndsWith(fileName, length, ".exe") || EndsWith(fileName, length, ".com") ||
           EndsWith(fileName, length, ".doc");
}

bool DroppedFileIsSkipped(const char* path, const char* typeName, bool isFolder) {
    if (isFolder || EqualsIgnoringCase(typeName, "File Folder") ||
        EqualsIgnoringCase(typeName, "Shortcut")) {
        return true;
    }
    const size_t length = std::strlen(path);
    return length >= 4 && EqualsIgnoringCase(path + length - 4, ".lnk");
}
