// profiles.ini's profile folders: each is listed once, uses backslashes only and ends with one.
#include "fuzz_support.h"

#include <algorithm>
#include <string_view>

#include "autoconfig/profiles_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> folders =
        ReadProfilesIni(std::string_view(reinterpret_cast<const char*>(data), size), "C:\\base\\");
    for (const std::string& folder : folders) {
        FUZZ_CHECK(!folder.empty() && folder.back() == '\\');
        FUZZ_CHECK(folder.find('/') == std::string::npos);
        FUZZ_CHECK(std::count(folders.begin(), folders.end(), folder) == 1);
    }
    return 0;
}
