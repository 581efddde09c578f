// Fixed-size text fields: records keep their texts in char arrays with room for a terminator,
// filled from strings and from the lines of small text files.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Copies text into a fixed field, cut to the field's size and always terminated.
void CopyField(char* field, size_t fieldSize, const char* text);
template <size_t N> void CopyField(char (&field)[N], const std::string& text) {
    CopyField(field, N, text.c_str());
}

// Reads one line of at most size - 1 characters without its line end (LF or CR LF); the rest
// of a longer line is skipped, so it cannot pass for a line of its own. False at the end.
bool ReadTextLine(std::FILE* file, char* line, size_t size);
template <size_t N> bool ReadTextLine(std::FILE* file, char (&line)[N]) {
    return ReadTextLine(file, line, N);
}
