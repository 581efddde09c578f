#include "plugins/custom_encoder_store.h"

#include <cstdio>
#include <cstring>

#include "base/scoped_file.h"
#include "base/text_fields.h"

namespace {

constexpr int kPathLength = 1024;
// A key and a whole line of 1023 characters, its line end and the terminator.
constexpr int kFileLineLength = 16 + kCustomLineLength + 2;

inline constexpr char kSlotKey[] = "CUSTOM_SLOT=";
inline constexpr const char* kLineKeys[kCustomEncoderSlots] = {"CUSTOM1=", "CUSTOM2="};

bool StorePath(const char* programDirectory, char (&path)[kPathLength]) {
    int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, kCustomEncoderFileName);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

bool StartsWith(const char* line, const char* key) {
    return std::strncmp(line, key, std::strlen(key)) == 0;
}

void CopyCut(char (&field)[kCustomLineLength], const char* text) {
    size_t length = std::strlen(text);
    if (length >= sizeof field) {
        length = sizeof field - 1;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

} // namespace

int ReadCustomEncoderLines(const char* programDirectory, CustomEncoderLines& lines) {
    lines = CustomEncoderLines{};
    char path[kPathLength];
    ScopedFile file(StorePath(programDirectory, path) ? std::fopen(path, "rb") : nullptr);
    if (!file) {
        return 0;
    }
    char line[kFileLineLength];
    while (ReadTextLine(file.get(), line)) {
        if (StartsWith(line, kSlotKey)) {
            const char* value = line + std::strlen(kSlotKey);
            lines.slot = std::strcmp(value, "1") == 0 ? 1 : 0;
            continue;
        }
        for (int i = 0; i < kCustomEncoderSlots; ++i) {
            if (StartsWith(line, kLineKeys[i])) {
                CopyCut(lines.lines[i], line + std::strlen(kLineKeys[i]));
            }
        }
    }
    return 1;
}

int WriteCustomEncoderLines(const char* programDirectory, const CustomEncoderLines& lines) {
    char path[kPathLength];
    if (!StorePath(programDirectory, path)) {
        return 0;
    }
    ScopedFile file(path, "wb");
    if (!file) {
        return 0;
    }
    std::fprintf(file.get(), "%s%d\n", kSlotKey, lines.slot == 1 ? 1 : 0);
    for (int i = 0; i < kCustomEncoderSlots; ++i) {
        // A line end inside a line would split it: the line is cut there.
        const char* text = lines.lines[i];
        int length = 0;
        while (length < kCustomLineLength - 1 && text[length] != '\0' && text[length] != '\r' &&
               text[length] != '\n') {
            ++length;
        }
        std::fprintf(file.get(), "%s%.*s\n", kLineKeys[i], length, text);
    }
    return file.close() ? 1 : 0;
}
