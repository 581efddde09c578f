// Thunderbird's prefs.js: the parser and the identity resolution on top of it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "autoconfig/thunderbird_accounts.h"
#include "autoconfig/user_prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PrefTable prefs =
        ParseUserPrefs(std::string_view(reinterpret_cast<const char*>(data), size));
    ThunderbirdIdentities(prefs);
    return 0;
}
