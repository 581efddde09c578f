#include "mp3conv/converter_command.h"

#include <cstring>

#include "audio/riff_file.h"
#include "audio/wave_file.h"

namespace {

// MPEG-2 and MPEG-2.5 Layer III frames hold 576 samples: 72 x bitrate / rate bytes, which is
// 72 bytes for both destinations.
constexpr uint16_t kMp3FrameBytes = 72;
constexpr uint16_t kMp3CodecDelay = 1393;
constexpr uint16_t kMpegLayer3Id = 1;
constexpr uint32_t kMpegLayer3PaddingOff = 2;

} // namespace

int ParseConverterCommandLine(const char* arguments, ConverterRequest& request) {
    request.quality = '\0';
    request.outputName[0] = '\0';
    if (arguments == nullptr) {
        return 0;
    }
    while (*arguments == ' ' || *arguments == '\t') {
        ++arguments;
    }
    if (*arguments == '\0' || arguments[1] == '\0') {
        return 0;
    }
    request.quality = arguments[0];
    const char* name = arguments + 1;
    size_t length = std::strlen(name);
    if (length >= sizeof request.outputName) {
        length = sizeof request.outputName - 1;
    }
    std::memcpy(request.outputName, name, length);
    request.outputName[length] = '\0';
    return 1;
}

Mp3Destination Mp3DestinationFor(char quality) {
    if (quality == '0') {
        return {16000, 2000};
    }
    return {8000, 1000};
}

void ApplyMp3Destination(unsigned char* format, const Mp3Destination& destination) {
    WriteLittleEndian16(format + 2, 1);
    WriteLittleEndian32(format + 4, destination.samplesPerSec);
    WriteLittleEndian32(format + 8, destination.avgBytesPerSec);
}

void BuildMp3WaveFormat(unsigned char (&format)[kMp3WaveFormatSize],
                        const Mp3Destination& destination) {
    WaveFormatFields fields = {};
    fields.formatTag = kMp3FormatTag;
    fields.channels = 1;
    fields.samplesPerSec = destination.samplesPerSec;
    fields.avgBytesPerSec = destination.avgBytesPerSec;
    fields.blockAlign = 1;
    fields.bitsPerSample = 0;
    fields.extraSize = kMp3WaveFormatSize - kWaveFormatExSize;
    WriteWaveFormat(format, fields);
    WriteLittleEndian16(format + 18, kMpegLayer3Id);
    WriteLittleEndian32(format + 20, kMpegLayer3PaddingOff);
    WriteLittleEndian16(format + 24, kMp3FrameBytes);
    WriteLittleEndian16(format + 26, 1);
    WriteLittleEndian16(format + 28, kMp3CodecDelay);
}

int DirectoryOfModule(const char* modulePath, char* directory, size_t size) {
    const char* slash = modulePath != nullptr ? std::strrchr(modulePath, '\\') : nullptr;
    if (slash == nullptr) {
        return 0;
    }
    const size_t length = static_cast<size_t>(slash - modulePath) + 1;
    if (length >= size) {
        return 0;
    }
    std::memcpy(directory, modulePath, length);
    directory[length] = '\0';
    return 1;
}
