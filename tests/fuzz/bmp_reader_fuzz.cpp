// The BMP reader on any bytes: headers, colour maps and rows must be read without leaving them.
#include <cstddef>
#include <cstdint>

#include "video/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpImage image;
    if (DecodeBmp(data, size, image) == 0 &&
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
        __builtin_trap();
    }
    return 0;
}
