#include "app/text_lines.h"

#include <climits>
#include <cstring>

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
