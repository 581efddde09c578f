#include "base/text_fields.h"

#include <climits>
#include <cstring>

void CopyField(char* field, size_t fieldSize, const char* text) {
    if (fieldSize == 0) {
        return;
    }
    size_t length = std::strlen(text);
    if (length >= fieldSize) {
        length = fieldSize - 1;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

bool ReadTextLine(std::FILE* file, char* line, size_t size) {
    if (size < 2 || size > INT_MAX || std::fgets(line, static_cast<int>(size), file) == nullptr) {
        return false;
    }
    size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') {
        line[--length] = '\0';
    } else {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    if (length > 0 && line[length - 1] == '\r') {
        line[--length] = '\0';
    }
    return true;
}
