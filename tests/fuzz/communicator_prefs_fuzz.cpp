// A Communicator profile's prefs.js, read at fixed positions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "autoconfig/communicator_prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadCommunicatorPrefs(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
