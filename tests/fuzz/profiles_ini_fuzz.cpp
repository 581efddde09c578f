// profiles.ini's profile folders.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "autoconfig/profiles_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadProfilesIni(std::string_view(reinterpret_cast<const char*>(data), size), "C:\\base\\");
    return 0;
}
