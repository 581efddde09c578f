// Converting a PCM WAV file into a compressed WAV file, one second of sound at a time.
//
// The codec is reached through StreamConverter (the Audio Compression Manager in both programs,
// or the MP3 encoder that kto2mp3 carries), the progress dialog through ConversionProgress, so
// that the same steps run in both programs and in the tests. The destination is written either
// as RIFF WAVE (copies of the source's DISP and plst chunks, fmt, fact with the source's sample
// count, and data with the converted bytes) or as the converted bytes alone: an .mp3 file is a
// plain run of MPEG audio frames, which players expect, not frames wrapped in a WAV container.
#pragma once

#include <cstdint>

#include "audio/riff_file.h"
#include "audio/wave_file.h"

// Conversion flags, with the values the Audio Compression Manager gives them.
constexpr uint32_t kConvertBlockAlign = 0x04; // convert whole source blocks only
constexpr uint32_t kConvertEnd = 0x20;        // the source ends: give out what is held back

struct ConvertStep {
    const unsigned char* source; // the job's sourceBuffer
    uint32_t sourceLength;
    unsigned char* destination; // the job's destinationBuffer
    uint32_t destinationLength;
    uint32_t flags;
    uint32_t sourceUsed;      // set by the converter: bytes taken from the source
    uint32_t destinationUsed; // set by the converter: bytes put into the destination
};

// A codec stream. Every function gets the context back; close must be safe after a failed or
// partial open.
struct StreamConverter {
    void* context;
    // Opens the stream from the source format to the destination format (WAVEFORMATEX blocks)
    // and tells how many destination bytes readSize source bytes can give. 1, or 0 on failure.
    int (*open)(void* context, const unsigned char* sourceFormat, uint32_t sourceFormatSize,
                const unsigned char* destinationFormat, uint32_t destinationFormatSize,
                uint32_t readSize, uint32_t* destinationBufferSize);
    // The buffers every later step uses, once they exist. 1, or 0 on failure.
    int (*prepare)(void* context, unsigned char* source, uint32_t sourceSize,
                   unsigned char* destination, uint32_t destinationSize);
    // Converts one step. 1, or 0 on a codec error.
    int (*convert)(void* context, ConvertStep& step);
    void (*close)(void* context);
};

// The progress dialog as the conversion sees it.
struct ConversionProgress {
    void* context;
    // Handles every waiting message; returns 1 when the user has asked to cancel.
    int (*pump)(void* context);
    // Draws the progress of done out of total bytes; title is the new window title, or null
    // while the percentage is the one shown last.
    void (*show)(void* context, uint32_t done, uint32_t total, const char* title);
};

enum class ConversionOutput {
    RiffWave,   // fmt, fact and data chunks (GSM 6.10 voice files)
    FramesOnly, // the codec's bytes and nothing else (MPEG audio streams)
};

enum class ConversionResult {
    Done,
    Failed,
    Cancelled,
};

inline constexpr char kMainPassTitle[] = "compressing... %u%%";
inline constexpr char kCleanupPassTitle[] = "Cleanup Pass -- %u%%";

// One conversion. The starter fills the fields down to converter (the rest zero) and frees the
// destination format after CloseConversion.
struct ConversionJob {
    char sourcePath[kWavePathLength];
    const unsigned char* sourceFormat; // not owned (the WaveFileRecord's)
    uint32_t sourceFormatSize;
    uint32_t sampleCount;    // written to the fact chunk
    uint32_t sourceDataSize; // bytes of the source's data chunk: the total the progress counts
    uint32_t readSize;       // source bytes per step
    char destinationPath[kWavePathLength];
    const unsigned char* destinationFormat; // owned by the starter
    uint32_t destinationFormatSize;
    StreamConverter converter;
    ConversionOutput output; // RiffWave when left zero

    // While converting.
    RiffFile sourceFile;
    RiffFile destinationFile;
    RiffChunk riffChunk; // of the destination, closed at the end so that its size is written
    RiffChunk dataChunk;
    int riffOpen;
    int dataOpen;
    int converterOpen;
    unsigned char* sourceBuffer;
    unsigned char* destinationBuffer;
    uint32_t destinationBufferSize;
};

// The most source bytes a step may take: one second of the fastest format that makes sense.
constexpr uint32_t kLargestReadSize = kLargestBytesPerSecond;

// Source bytes per step: one second of sound in whole blocks,
// nAvgBytesPerSec - (nAvgBytesPerSec mod nBlockAlign). 0 for a format whose rates make no sense
// (WaveRatesMakeSense): such a format is refused.
uint32_t ConversionReadSize(const WaveFormatFields& source);

// Opens the codec stream and both files (a read size of 0 or beyond kLargestReadSize is refused
// first), writes a RiffWave destination up to the start of its data chunk (a FramesOnly one
// stays empty) and leaves the source at the first byte of sound. 1, or 0 after closing again.
int OpenConversion(ConversionJob& job);

// The main pass and the cleanup pass. The destination file stays open for CloseConversion.
ConversionResult RunConversionLoop(ConversionJob& job, const ConversionProgress& progress);

// Closes the source, the destination's data chunk and RIFF form (writing their sizes) and the
// file, the codec stream, and frees both buffers. Also right after a failed open.
void CloseConversion(ConversionJob& job);
