#include "app/text_lines.h"

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
