#include "base/text_fields.h"

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
    if (size < 2) {
        return false;
    }
    // Byte by byte rather than with fgets, so that a NUL byte inside a line cannot hide where
    // the line ends; the line's text then ends at the NUL.
    size_t length = 0;
    int c = EOF;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (length < size - 1) {
            line[length++] = static_cast<char>(c);
        }
    }
    if (!any) {
        return false;
    }
    line[length] = '\0';
    if (length > 0 && line[length - 1] == '\r') {
        line[--length] = '\0';
    }
    return true;
}
