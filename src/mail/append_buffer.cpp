#include "mail/append_buffer.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void DiscardBuffer(char** buffer, size_t* used, size_t* capacity) {
    free(*buffer);
    *buffer = nullptr;
    *used = 0;
    *capacity = 0;
}

} // namespace

int AppendToBuffer(char** buffer, size_t* used, size_t* capacity, const char* data, size_t length) {
    if (buffer == nullptr || used == nullptr || capacity == nullptr) {
        return 0;
    }
    bool described = *used <= *capacity && (*buffer != nullptr || *capacity == 0) &&
                     (data != nullptr || length == 0) && length < SIZE_MAX - *used;
    if (!described) {
        DiscardBuffer(buffer, used, capacity);
        return 0;
    }
    if (*capacity < *used + length + 1) {
        size_t growth = length + 1 > kBufferGrowthStep ? length + 1 : kBufferGrowthStep;
        if (growth > SIZE_MAX - *capacity) {
            DiscardBuffer(buffer, used, capacity);
            return 0;
        }
        char* grown = static_cast<char*>(realloc(*buffer, *capacity + growth));
        if (grown == nullptr) {
            DiscardBuffer(buffer, used, capacity);
            return 0;
        }
        memset(grown + *capacity, 0, growth);
        *buffer = grown;
        *capacity += growth;
    }
    if (length > 0) {
        memcpy(*buffer + *used, data, length);
    }
    *used += length;
    // A block handed in for reuse may hold old text past the end.
    (*buffer)[*used] = '\0';
    return 1;
}

int FindIndex(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr || *text == '\0' || *pattern == '\0') {
        return -1;
    }
    const char* hit = strstr(text, pattern);
    if (hit == nullptr || hit - text > INT_MAX) {
        return -1;
    }
    return static_cast<int>(hit - text);
}
