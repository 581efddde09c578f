// The MP3 encoder that kto2mp3 carries, for machines without an MPEG Layer-3 codec that can
// encode: a StreamConverter from 8-bit or 16-bit PCM to constant-bitrate MPEG Layer-3 frames
// at the rate and bytes per second of the destination format.
#pragma once

#include <cstdint>

#include "audio/wave_conversion.h"

struct LameConverter {
    void* encoder; // the encoder's state while open
    WaveFormatFields source;
    int16_t* samples; // the source converted to 16-bit samples
    uint32_t sampleCapacity;
    int flushed; // the end was given out; the encoder takes nothing more
};

// A converter over the record; the record must outlive the conversion.
StreamConverter LameStreamConverter(LameConverter& lame);
