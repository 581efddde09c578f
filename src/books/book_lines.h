// The lines of the two book files, addbook.ini and accbook.ini: one field a line, CR LF on disk.
#pragma once

#include <cstddef>
#include <string>

// Reads the line that starts at position and moves position past it. The line break (an LF,
// and a CR just before it) is dropped; a last line without one keeps every character. Only the
// first `keep` characters are kept, the rest of a longer line is passed over, so it never
// becomes a line of its own. False when no line is left.
bool ReadBookLine(const std::string& text, size_t& position, size_t keep, std::string& line);

// Appends the field and CR LF. A CR or LF inside the field is written as a blank, so that a
// field can never shift the records after it.
void AppendBookLine(std::string& text, const std::string& field);

// Compares with the letters A-Z and a-z taken as equal: <0, 0 or >0.
int CompareTextNoCase(const std::string& a, const std::string& b);

// A case-insensitive comparison of the platform (the one a window's sort uses).
using PlatformTextCompare = int (*)(const char* a, const char* b);
