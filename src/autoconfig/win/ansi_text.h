// Text of other programs stored in Unicode, in the program's single-byte code page.
#pragma once

#include <string>

// UTF-8 text in the system's ANSI code page; characters it lacks become '?'.
std::string Utf8ToAnsi(const std::string& utf8);
