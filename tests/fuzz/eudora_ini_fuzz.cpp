// eudora.ini's sender lines: every value is the end of one line of the input.
#include "fuzz_support.h"

#include <string_view>

#include "autoconfig/eudora_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EudoraSettings settings = ReadEudoraIni(text);
    for (const std::string* value : {&settings.server, &settings.address, &settings.name}) {
        FUZZ_CHECK(value->find('\n') == std::string::npos);
        FUZZ_CHECK(text.find(*value) != std::string_view::npos);
    }
    return 0;
}
