// The body text of a printed message cut into printed lines: any text, any width. The first
// byte is the width; every printed line must fit it and hold no control character.
#include "fuzz_support.h"

#include "print/page_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const int width = input.Byte() % 100 + 1;
    for (const std::string& line : PrintedBodyLines(input.Rest(), width)) {
        FUZZ_CHECK(line.size() <= static_cast<size_t>(width));
        for (const char c : line) {
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
        }
    }
    return 0;
}
