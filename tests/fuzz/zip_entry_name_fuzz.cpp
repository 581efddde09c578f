// Stored names of archive entries: only a bare frame name may ever be written, and the bitmap
// check reads no further than it is given.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "ad/frame_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the frame count, the rest is the stored name.
    const int frameCount = 1 + data[0] % 40;
    const std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
    const int frame = FrameNumberOfEntry(name.c_str(), frameCount);
    if (frame != 0) {
        char expected[16];
        FormatFrameFileName(frame, expected, sizeof expected);
        // Accepted names are exactly the frame file names, apart from case.
        if (frame < 1 || frame > frameCount || strcasecmp(name.c_str(), expected) != 0) {
            std::abort();
        }
    }
    std::string head(reinterpret_cast<const char*>(data), size);
    LooksLikeBitmapFile(reinterpret_cast<const unsigned char*>(head.data()), head.size());
    return 0;
}
