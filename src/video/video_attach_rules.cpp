#include "video/video_attach_rules.h"

#include <cstdio>
#include <cstring>

#include "video/avi_format.h"

bool CaptureIsCompressed(const unsigned char* head, size_t count) {
    if (head == nullptr) {
        return false;
    }
    if (count > kCaptureHeadSize) {
        count = kCaptureHeadSize;
    }
    // The handler's first byte must lie inside what was read.
    for (size_t at = 0; at + 4 < count; ++at) {
        if (std::memcmp(head + at, "vids", 4) == 0) {
            return head[at + 4] != 0;
        }
    }
    return false;
}

bool CompressionCaption(int percent, char* out, size_t size) {
    if (percent >= 51 || out == nullptr || size == 0) {
        return false;
    }
    std::snprintf(out, size, "Compressing - Percent Done ... %d%%", percent * 2);
    return true;
}

StreamCompressOptions CompressOptionsFor(uint32_t streamType) {
    StreamCompressOptions options = {};
    options.type = streamType;
    if (streamType == kVideoStreamType) {
        options.handler = MakeFourCC('i', 'v', '3', '2');
        options.keyFrameEvery = 15;
        options.quality = 7000;
        options.flags = kCompressKeyFrames | kCompressValid;
        options.interleaveEvery = 1;
    } else if (streamType == kAudioStreamType) {
        options.flags = kCompressValid;
        options.interleaveEvery = 1;
        options.ownFormat = true;
    }
    return options;
}

const char* AviSaveErrorText(uint32_t result) {
    if (result == 0) {
        return nullptr;
    }
    return result == kAviErrorFileOpen ? kOverwriteOpenAviText : kSaveAviFailedText;
}
