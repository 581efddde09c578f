#include "mp3conv/lame_converter.h"

#include <lame/lame.h>

#include <cstdlib>

#include "mp3conv/converter_command.h"

namespace {

lame_global_flags* EncoderOf(LameConverter& lame) {
    return static_cast<lame_global_flags*>(lame.encoder);
}

void CloseLame(void* context) {
    auto& lame = *static_cast<LameConverter*>(context);
    if (lame.encoder != nullptr) {
        lame_close(EncoderOf(lame));
    }
    std::free(lame.samples);
    lame.encoder = nullptr;
    lame.samples = nullptr;
    lame.sampleCapacity = 0;
    lame.flushed = 0;
}

bool SourceSupported(const WaveFormatFields& source) {
    const uint16_t bytesPerSample = source.bitsPerSample / 8;
    return source.formatTag == kPcmFormatTag && (source.channels == 1 || source.channels == 2) &&
           (source.bitsPerSample == 8 || source.bitsPerSample == 16) &&
           source.blockAlign == source.channels * bytesPerSample && source.samplesPerSec > 0;
}

int OpenLame(void* context, const unsigned char* sourceFormat, uint32_t sourceFormatSize,
             const unsigned char* destinationFormat, uint32_t destinationFormatSize,
             uint32_t readSize, uint32_t* destinationBufferSize) {
    auto& lame = *static_cast<LameConverter*>(context);
    lame.source = ReadWaveFormat(sourceFormat, sourceFormatSize);
    const WaveFormatFields destination = ReadWaveFormat(destinationFormat, destinationFormatSize);
    if (readSize > kLargestReadSize || !SourceSupported(lame.source) ||
        destination.formatTag != kMp3FormatTag || destination.channels != 1 ||
        destination.avgBytesPerSec == 0) {
        return 0;
    }
    const int kbitPerSecond = static_cast<int>(destination.avgBytesPerSec * 8 / 1000);
    lame_global_flags* encoder = lame_init();
    if (encoder == nullptr) {
        return 0;
    }
    lame.encoder = encoder;
    lame_set_num_channels(encoder, lame.source.channels);
    lame_set_in_samplerate(encoder, static_cast<int>(lame.source.samplesPerSec));
    lame_set_out_samplerate(encoder, static_cast<int>(destination.samplesPerSec));
    lame_set_mode(encoder, MONO);
    lame_set_VBR(encoder, vbr_off);
    lame_set_brate(encoder, kbitPerSecond);
    lame_set_bWriteVbrTag(encoder, 0); // constant bitrate: no header frame needed
    lame_set_write_id3tag_automatic(encoder, 0);
    if (lame_init_params(encoder) < 0 || lame_get_brate(encoder) != kbitPerSecond ||
        lame_get_out_samplerate(encoder) != static_cast<int>(destination.samplesPerSec)) {
        return 0;
    }
    // The encoder's own bound for a buffer: 1.25 x samples + 7200 bytes.
    const uint32_t samples = readSize / lame.source.blockAlign;
    *destinationBufferSize = samples + samples / 4 + 7200;
    return 1;
}

int PrepareLame(void* context, unsigned char*, uint32_t sourceSize, unsigned char*, uint32_t) {
    auto& lame = *static_cast<LameConverter*>(context);
    const uint32_t bytesPerSample = lame.source.bitsPerSample / 8;
    if (bytesPerSample == 0 || sourceSize > kLargestReadSize) {
        return 0;
    }
    lame.sampleCapacity = sourceSize / bytesPerSample;
    lame.samples = static_cast<int16_t*>(
        std::calloc(static_cast<size_t>(lame.sampleCapacity) + 1, sizeof(int16_t)));
    return lame.samples != nullptr ? 1 : 0;
}

// 8-bit samples are unsigned around 128, 16-bit ones signed little-endian.
void WidenSamples(const LameConverter& lame, const unsigned char* source, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (lame.source.bitsPerSample == 8) {
            lame.samples[i] = static_cast<int16_t>((source[i] - 128) * 256);
        } else {
            lame.samples[i] = static_cast<int16_t>(source[2 * i] | source[2 * i + 1] << 8);
        }
    }
}

int ConvertLame(void* context, ConvertStep& step) {
    auto& lame = *static_cast<LameConverter*>(context);
    const uint32_t frames = step.sourceLength / lame.source.blockAlign;
    const uint32_t count = frames * lame.source.channels;
    if (lame.encoder == nullptr || count > lame.sampleCapacity || (lame.flushed && frames > 0)) {
        return 0;
    }
    int written = 0;
    if (frames > 0) {
        WidenSamples(lame, step.source, count);
        written = lame.source.channels == 2
                      ? lame_encode_buffer_interleaved(EncoderOf(lame), lame.samples,
                                                       static_cast<int>(frames), step.destination,
                                                       static_cast<int>(step.destinationLength))
                      : lame_encode_buffer(EncoderOf(lame), lame.samples, lame.samples,
                                           static_cast<int>(frames), step.destination,
                                           static_cast<int>(step.destinationLength));
        if (written < 0) {
            return 0;
        }
    }
    if ((step.flags & kConvertEnd) && !lame.flushed) {
        int flushedBytes = lame_encode_flush(EncoderOf(lame), step.destination + written,
                                             static_cast<int>(step.destinationLength) - written);
        if (flushedBytes < 0) {
            return 0;
        }
        written += flushedBytes;
        lame.flushed = 1;
    }
    step.sourceUsed = frames * lame.source.blockAlign;
    step.destinationUsed = static_cast<uint32_t>(written);
    return 1;
}

} // namespace

StreamConverter LameStreamConverter(LameConverter& lame) {
    lame = LameConverter{};
    return {&lame, OpenLame, PrepareLame, ConvertLame, CloseLame};
}
