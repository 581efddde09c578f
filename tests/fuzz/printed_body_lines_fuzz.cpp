// The body text of a printed message cut into printed lines: any text, any width. The first
// byte is the width; every printed line must fit it and hold no control character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "print/page_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int width = data[0] % 100 + 1;
    const std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    for (const std::string& line : PrintedBodyLines(body, width)) {
        if (line.size() > static_cast<size_t>(width)) {
            std::abort();
        }
        for (const char c : line) {
            if (static_cast<unsigned char>(c) < 0x20) {
                std::abort();
            }
        }
    }
    return 0;
}
