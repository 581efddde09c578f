// Stored names of archive entries: only a bare frame name may ever be written; and the bitmap
// check reads no further than it is given.
#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ad/frame_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int frameCount = 1 + data[0] % 40; // the first byte, the rest is the name
    const std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
    const int frame = FrameNumberOfEntry(name.c_str(), frameCount);
    char expected[16];
    FormatFrameFileName(frame, expected, sizeof expected);
    if (frame != 0 && (frame > frameCount || strcasecmp(name.c_str(), expected) != 0)) {
        std::abort();
    }
    const std::vector<unsigned char> head(data, data + size);
    LooksLikeBitmapFile(head.data(), head.size());
    return 0;
}
