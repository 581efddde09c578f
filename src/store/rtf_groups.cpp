#include "store/rtf_groups.h"

#include <vector>

size_t OpenRtfGroups(const std::string& rtf) {
    size_t open = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i; // the escaped character, or the first letter of a control word
        } else if (rtf[i] == '{') {
            ++open;
        } else if (rtf[i] == '}' && open > 0) {
            --open;
        }
    }
    return open;
}

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The length of the RTF without the escapes its end cuts short. Dropping one can leave another
// one cut short in front of it ("\'\'e"), so the run of escapes that ends the text is kept
// and taken back from its end.
size_t LengthWithoutCutEscapes(const std::string& rtf) {
    struct Escape {
        size_t start;
        size_t end;
        bool unfinished; // a lone backslash, or "\'" with fewer than two hex digits
    };
    std::vector<Escape> run; // the escapes that follow each other up to the last one
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') {
            continue;
        }
        Escape escape = {i, i + 1, true};
        if (i + 1 < rtf.size()) {
            escape.end = i + 2;
            escape.unfinished = false;
            if (rtf[i + 1] == '\'') {
                while (escape.end < rtf.size() && escape.end < i + 4 &&
                       IsHexDigit(rtf[escape.end])) {
                    ++escape.end;
                }
                escape.unfinished = escape.end < i + 4;
            }
        }
        if (!run.empty() && run.back().end != escape.start) {
            run.clear();
        }
        run.push_back(escape);
        i = escape.end - 1;
    }
    size_t length = rtf.size();
    while (!run.empty() && run.back().end == length && run.back().unfinished) {
        length = run.back().start;
        run.pop_back();
    }
    return length;
}

} // namespace

std::string CloseRtfGroups(const std::string& rtf) {
    const std::string kept = rtf.substr(0, LengthWithoutCutEscapes(rtf));
    return kept + std::string(OpenRtfGroups(kept), '}');
}
