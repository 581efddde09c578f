// eudora.ini's sender lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "autoconfig/eudora_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadEudoraIni(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
