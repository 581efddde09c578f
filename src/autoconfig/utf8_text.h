// Appending a Unicode code point to UTF-8 text.
#pragma once

#include <cstdint>
#include <string>

void AppendUtf8(std::string& out, uint32_t code);
