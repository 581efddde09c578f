// Closing the groups of a cut RTF body: whatever the body, the closed one leaves no group open,
// is the body (less the escapes its end cut short) followed by closing braces, and stays as it
// is when closed again.
#include "fuzz_support.h"

#include "store/rtf_groups.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    const std::string closed = CloseRtfGroups(rtf);
    FUZZ_CHECK(OpenRtfGroups(closed) == 0);
    FUZZ_CHECK(CloseRtfGroups(closed) == closed);
    size_t kept = 0;
    while (kept < rtf.size() && kept < closed.size() && rtf[kept] == closed[kept]) {
        ++kept;
    }
    FUZZ_CHECK(closed.find_first_not_of('}', kept) == std::string::npos);
    FUZZ_CHECK(rtf.find_first_not_of("\\'0123456789abcdefABCDEF", kept) == std::string::npos);
    return 0;
}
