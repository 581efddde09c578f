#include "store/rtf_groups.h"

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

// The length of the RTF without an escape that its end cuts short.
size_t LengthWithoutCutEscape(const std::string& rtf) {
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') {
            continue;
        }
        if (i + 1 == rtf.size()) {
            return i; // a lone backslash
        }
        if (rtf[i + 1] == '\'') {
            size_t digits = 0;
            while (digits < 2 && i + 2 + digits < rtf.size() && IsHexDigit(rtf[i + 2 + digits])) {
                ++digits;
            }
            if (digits < 2 && i + 2 + digits == rtf.size()) {
                return i; // "\'" and fewer than two hex digits
            }
        }
        ++i; // the escaped character, or the first letter of a control word
    }
    return rtf.size();
}

} // namespace

std::string CloseRtfGroups(const std::string& rtf) {
    const std::string kept = rtf.substr(0, LengthWithoutCutEscape(rtf));
    return kept + std::string(OpenRtfGroups(kept), '}');
}
