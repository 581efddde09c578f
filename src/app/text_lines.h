// Reading the small KEY=value text files line by line.
#pragma once

#include <cstddef>
#include <cstdio>

// Reads one line of at most size - 1 characters without its line end (LF or CR LF); the rest
// of a longer line is skipped, so it cannot pass for a line of its own. A NUL byte ends the
// line's text but not the line. False at the end.
bool ReadTextLine(std::FILE* file, char* line, size_t size);

template <size_t N> bool ReadTextLine(std::FILE* file, char (&line)[N]) {
    return ReadTextLine(file, line, N);
}
