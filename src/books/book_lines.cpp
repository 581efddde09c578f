#include "books/book_lines.h"

#include <algorithm>

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool ReadBookLine(const std::string& text, size_t& position, size_t keep, std::string& line) {
    line.clear();
    if (position >= text.size()) {
        return false;
    }
    const size_t start = position;
    const size_t lineFeed = text.find('\n', start);
    size_t end = text.size();
    if (lineFeed != std::string::npos) {
        end = lineFeed > start && text[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
    }
    position = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
    line.assign(text, start, std::min(end - start, keep));
    return true;
}

void AppendBookLine(std::string& text, const std::string& field) {
    for (char c : field) {
        text += c == '\r' || c == '\n' ? ' ' : c;
    }
    text += "\r\n";
}

int CompareTextNoCase(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
