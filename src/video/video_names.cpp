#include "video/video_names.h"

#include <cstdio>
#include <cstring>

#include "plugins/plugin_settings.h"

namespace {

// True when the 6 characters that begin `back` characters before the end are `prefix`.
bool NameAt(const char* path, size_t length, size_t back, const char* prefix) {
    return length >= back && std::strncmp(path + length - back, prefix, 6) == 0;
}

template <typename Counts> int CountAttachments(const AttachmentTable& table, Counts counts) {
    int count = 0;
    for (const AttachmentEntry& entry : table.slots) {
        const size_t length = strnlen(entry.path, sizeof entry.path);
        if (length == 0) {
            break;
        }
        if (counts(entry.path, length)) {
            ++count;
        }
    }
    return count;
}

void NumberedName(int count, const char* stem, const char* extension, char* out, size_t size) {
    int length;
    if (count <= 0) {
        length = std::snprintf(out, size, "%ssg%s", stem, extension);
    } else if (count <= 9) {
        length = std::snprintf(out, size, "%s0%d%s", stem, count, extension);
    } else {
        length = std::snprintf(out, size, "%s%d%s", stem, count, extension);
    }
    if (length < 0 || static_cast<size_t>(length) >= size) {
        out[0] = '\0';
    }
}

bool EndsWith(const char* text, size_t length, const char* tail) {
    const size_t tailLength = std::strlen(tail);
    return length >= tailLength && std::memcmp(text + length - tailLength, tail, tailLength) == 0;
}

// Appends `tail` after the first `keep` characters when the result fits.
void Complete(char (&name)[kVideoNameBufferSize], size_t keep, const char* tail) {
    if (keep + std::strlen(tail) < sizeof name) {
        std::strcpy(name + keep, tail);
    }
}

// Checks 1 and 2: 0 for an empty name (nothing else may happen), else 1 or 2 for a name that
// is valid or refused while its extension is still completed.
int CheckName(const char (&name)[kVideoNameBufferSize], size_t length) {
    if (length == 0) {
        return 0;
    }
    if (length > kVideoNameMaxLength || std::strpbrk(name, kVideoNameForbiddenCharacters)) {
        return 2;
    }
    return 1;
}

} // namespace

int CountVideoAttachments(const AttachmentTable& table) {
    return CountAttachments(table, [](const char* path, size_t length) {
        return NameAt(path, length, 12, "videom") || NameAt(path, length, 11, "videom");
    });
}

int CountSnapshotAttachments(const AttachmentTable& table) {
    return CountAttachments(
        table, [](const char* path, size_t length) { return NameAt(path, length, 12, "snapsh"); });
}

bool DefaultVideoName(const AttachmentTable& table, int videoSelection, char* out, size_t size) {
    if (out == nullptr || size == 0) {
        return false;
    }
    out[0] = '\0';
    if (videoSelection != kVideoWindowsCodecs && videoSelection != kVideoRealVideo) {
        return false;
    }
    const char* extension = videoSelection == kVideoRealVideo ? ".rm" : ".avi";
    NumberedName(CountVideoAttachments(table), "videom", extension, out, size);
    return out[0] != '\0';
}

void DefaultSnapshotName(const AttachmentTable& table, char* out, size_t size) {
    if (out == nullptr || size == 0) {
        return;
    }
    const int count = CountSnapshotAttachments(table);
    if (count <= 0) {
        std::snprintf(out, size, "snapshot.jpg");
    } else {
        NumberedName(count, "snapsh", ".jpg", out, size);
    }
}

int ValidateVideoName(char (&name)[kVideoNameBufferSize], int& videoSelection) {
    const size_t length = strnlen(name, sizeof name);
    const int check = CheckName(name, length);
    if (check == 0) {
        return 0;
    }
    if (videoSelection != kVideoWindowsCodecs) {
        videoSelection = kVideoRealVideo;
        if (EndsWith(name, length, ".avi")) {
            Complete(name, length - 4, ".rm");
        } else if (!EndsWith(name, length, ".rm")) {
            Complete(name, length, ".rm");
        }
    } else if (!EndsWith(name, length, ".avi")) {
        Complete(name, length, ".avi");
    }
    return check == 1 ? 1 : 0;
}

int ValidateSnapshotName(char (&name)[kVideoNameBufferSize]) {
    const size_t length = strnlen(name, sizeof name);
    const int check = CheckName(name, length);
    if (check == 0) {
        return 0;
    }
    if (!EndsWith(name, length, ".jpg")) {
        Complete(name, length, ".jpg");
    }
    return check == 1 ? 1 : 0;
}

void SnapshotNameFromEdit(char (&name)[kVideoNameBufferSize], const AttachmentTable& table) {
    const size_t length = strnlen(name, sizeof name);
    if (std::strncmp(name, "videom", 6) == 0) {
        DefaultSnapshotName(table, name, sizeof name);
    } else if (EndsWith(name, length, ".avi")) {
        std::memcpy(name + length - 4, ".jpg", 4);
    }
}
