// The AVI reader on any bytes, then every chunk it found read back and every raw video frame
// turned into JPEG, as the Motion-JPEG compressor does.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "video/avi_reader.h"
#include "video/motion_jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const AviByteSource source = {data, size, {}};
    AviContents contents;
    if (ReadAviContents(source, contents) != AviReadResult::Ok) {
        return 0;
    }
    std::vector<RawFrameLayout> layouts(contents.streams.size());
    std::vector<bool> raw(contents.streams.size());
    for (size_t i = 0; i < contents.streams.size(); ++i) {
        raw[i] = contents.streams[i].header.type == kVideoStreamType &&
                 RawFrameLayoutOf(contents.streams[i].format, layouts[i]);
    }
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> jpeg;
    for (const AviChunk& chunk : contents.chunks) {
        if (!ReadAviChunk(source, chunk, bytes)) {
            __builtin_trap(); // the reader promised these bytes
        }
        const size_t stream = static_cast<size_t>(chunk.stream);
        if (raw[stream] && layouts[stream].dib.width <= 256 && layouts[stream].dib.height <= 256) {
            CompressRawFrame(layouts[stream], bytes.data(), bytes.size(), jpeg);
        }
    }
    return 0;
}
