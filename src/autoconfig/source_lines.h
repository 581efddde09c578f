// Splitting another program's text file into lines: only real line breaks (LF, CR LF, or a
// CR at the very end) are dropped, so a last line without a line break is kept whole.
#pragma once

#include <string_view>

// Calls visit(line) for every line of text, without its line break.
template <typename Visit> void ForEachSourceLine(std::string_view text, Visit visit) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line);
        start = next;
    }
}
