// A profile's prefs.js, through both readers: Thunderbird's parser with the identity
// resolution on top of it, and Communicator's fixed positions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "autoconfig/communicator_prefs.h"
#include "autoconfig/thunderbird_accounts.h"
#include "autoconfig/user_prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ThunderbirdIdentities(ParseUserPrefs(text));
    ReadCommunicatorPrefs(text);
    return 0;
}
