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

std::string CloseRtfGroups(const std::string& rtf) {
    return rtf + std::string(OpenRtfGroups(rtf), '}');
}
