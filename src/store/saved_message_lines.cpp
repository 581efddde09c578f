#include "store/saved_message_lines.h"

#include <climits>
#include <cstring>

bool IsAddressCharacter(unsigned char c) {
    return (c >= 0x21 && c <= 0x7E) || c >= 0x80;
}

bool IsTextCharacter(unsigned char c) {
    return c == 0x20 || IsAddressCharacter(c);
}

LineCursor StartLines(const char* data, size_t size) {
    LineCursor cursor = {data, data == nullptr ? 0 : size, 0};
    return cursor;
}

bool ReadNextLine(LineCursor& cursor, char* line, size_t lineSize) {
    if (lineSize == 0) {
        return false;
    }
    line[0] = '\0';
    if (cursor.position >= cursor.size) {
        return false;
    }
    const char* start = cursor.data + cursor.position;
    const size_t left = cursor.size - cursor.position;
    const void* lf = std::memchr(start, '\n', left);
    size_t length =
        lf == nullptr ? left : static_cast<size_t>(static_cast<const char*>(lf) - start);
    cursor.position += lf == nullptr ? left : length + 1;

    if (lf != nullptr && length > 0 && start[length - 1] == '\r') {
        --length;
    }
    if (length > lineSize - 1) {
        length = lineSize - 1;
    }
    std::memcpy(line, start, length);
    line[length] = '\0';
    return true;
}

const char* RemainingData(const LineCursor& cursor, size_t* length) {
    *length = cursor.position < cursor.size ? cursor.size - cursor.position : 0;
    return cursor.data + (cursor.position < cursor.size ? cursor.position : cursor.size);
}

int ReadCount(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT_MAX) {
            value = value * 10 + (*p - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

size_t AppendKeptCharacters(char* field, size_t fieldSize, const char* text,
                            bool (*keep)(unsigned char), bool wholeOrNothing) {
    if (fieldSize == 0) {
        return 0;
    }
    size_t used = 0;
    while (used < fieldSize - 1 && field[used] != '\0') {
        ++used;
    }
    field[used] = '\0';

    size_t kept = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (keep(static_cast<unsigned char>(*p))) {
            ++kept;
        }
    }
    if (kept == 0) {
        return 0;
    }
    const size_t blank = used > 0 ? 1 : 0;
    const size_t room = fieldSize - 1 - used;
    if (wholeOrNothing && blank + kept > room) {
        return 0;
    }
    size_t end = used;
    if (blank == 1 && end < fieldSize - 1) {
        field[end++] = ' ';
    }
    for (const char* p = text; *p != '\0' && end < fieldSize - 1; ++p) {
        if (keep(static_cast<unsigned char>(*p))) {
            field[end++] = *p;
        }
    }
    field[end] = '\0';
    return end - used;
}

void CopyKeptCharacters(char* field, size_t fieldSize, const char* text,
                        bool (*keep)(unsigned char)) {
    if (fieldSize == 0) {
        return;
    }
    field[0] = '\0';
    size_t end = 0;
    for (const char* p = text; *p != '\0' && end < fieldSize - 1; ++p) {
        if (keep(static_cast<unsigned char>(*p))) {
            field[end++] = *p;
        }
    }
    field[end] = '\0';
}
