// WAV files: opening one and finding its format, sample data and sample count
// (wioFileOpen, LoadWaveFileRecord), writing tempwave.wav from the recorder's raw capture file
// (WriteRecordedWave) and copying a chunk into a compressed file (CopyChunk).
//
// Message boxes and Yes/No questions belong to the Win32 layer: the functions here hand it the
// text and caption through WaveMessage, and ask questions through WavePrompt.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/riff_file.h"

constexpr int kWavePathLength = 1024;
constexpr int kWaveMessageLength = 1280; // a 1023-character path fits in every message
constexpr uint32_t kUnknownSampleCount = 0xFFFFFFFF;
constexpr uint16_t kPcmFormatTag = 1;
constexpr uint32_t kWaveFormatExSize = 18; // WAVEFORMATEX including cbSize
constexpr uint32_t kPcmFormatSize = 16;    // WAVEFORMATEX without cbSize
constexpr size_t kRecordedCopyPiece = 32000;

// wioFileOpen results.
constexpr uint32_t kWioOk = 0;
constexpr uint32_t kWioNoFormat = 1;
constexpr uint32_t kWioNoRecord = 4;
constexpr uint32_t kWioCannotRead = 6;
constexpr uint32_t kWioNoMemory = 7;
constexpr uint32_t kWioUserCancelled = 8;

// The texts shown to the user, printf formats where they take values.
inline constexpr char kWioCaption[] = "wioFileOpen";
inline constexpr char kWioChunkBeyondRiffText[] =
    "This wave file might be corrupt. The RIFF chunk.ckid '%.08lX' (data offset at %lu) "
    "specifies a cksize of %lu that extends beyond what the RIFF header cksize of %lu allows. "
    "Attempt to load?";
inline constexpr char kWioMissingFactText[] =
    "This wave file does not have a 'fact' chunk and requires one! This is completely invalid "
    "and MUST be fixed! Attempt to load it anyway?";
inline constexpr char kLoadWaveCaption[] = "ERROR";
inline constexpr char kLoadWaveFailedText[] =
    "The file '%s' cannot be loaded as a wave file (wio error=%u).";
inline constexpr char kRecordedWaveCaption[] = "Error";
inline constexpr char kNoRecordedDataText[] = "No recorded wave data to save.";
inline constexpr char kOpenForWriteText[] = "Error opening file for write.";
inline constexpr char kCreateRiffText[] = "Error creating RIFF wave chunk.";
inline constexpr char kCreateFormatText[] = "Error creating RIFF format chunk.";
inline constexpr char kWriteFormatText[] = "Error writing RIFF format data.";
inline constexpr char kCreateFactText[] = "Error creating RIFF 'fact' chunk.";
inline constexpr char kWriteFactText[] = "Error writing RIFF 'fact' data.";
inline constexpr char kCreateDataText[] = "Error creating RIFF data chunk.";
inline constexpr char kWriteDataText[] = "Error writing wave data.";
inline constexpr char kRecordedWaveName[] = "tempwave.wav";

// A message for the Win32 layer to show in a message box; no message when caption is null.
struct WaveMessage {
    const char* caption;
    char text[kWaveMessageLength];
};

// A Yes/No question (exclamation icon, task-modal, no owner). ask returns true for Yes.
// Without a function every question is answered No.
struct WavePrompt {
    bool (*ask)(void* context, const char* text, const char* caption);
    void* context;
};

// The fields of a WAVEFORMATEX block, read from its little-endian bytes.
struct WaveFormatFields {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize; // cbSize
};

// The fastest sound that makes sense: one second of eight channels of 32-bit samples at 384 kHz
// fits. Sizes computed from a rate up to this cannot wrap.
constexpr uint32_t kLargestBytesPerSecond = 1u << 24;

// True when the byte rate and the block alignment can describe sound: neither is 0, a block is
// no longer than a second, and the rate is at most kLargestBytesPerSecond.
bool WaveRatesMakeSense(const WaveFormatFields& fields);

// Reads the fields from a block; bytes missing from a short block read as zero.
WaveFormatFields ReadWaveFormat(const unsigned char* block, size_t blockSize);

// Writes the 18 bytes of a WAVEFORMATEX.
void WriteWaveFormat(unsigned char* block, const WaveFormatFields& fields);

// What wioFileOpen finds; all zero when closed.
struct WaveFileInfo {
    uint32_t flags;
    RiffFile file;         // open for reading until CloseWaveFile
    uint32_t dataOffset;   // of the contents of the first non-empty data chunk
    uint32_t dataSize;     // its size, cut to the bytes the file really holds
    uint32_t sampleCount;  // from the first fact chunk, or computed
    unsigned char* format; // copy of the first fmt chunk, zero-filled to at least 18 bytes
    uint32_t formatBlockSize;
};

// What LoadWaveFileRecord fills for the compressor. The caller sets path and, when done, calls
// ReleaseWaveFileRecord.
struct WaveFileRecord {
    char path[kWavePathLength];
    unsigned char* format; // owned by the record: formatSize bytes
    uint32_t formatSize;   // 16 for PCM, else cbSize + 18
    uint32_t dataSize;
    uint32_t sampleCount;
};

// Opens a WAV file and walks its chunks. Returns kWioOk with the file left open in info, or an
// error code with the file closed and info zeroed.
uint32_t wioFileOpen(WaveFileInfo* info, const char* path, uint32_t flags,
                     const WavePrompt* prompt);

// Closes the file and frees the format copy; 4 when no record is given, else 0.
uint32_t CloseWaveFile(WaveFileInfo* info);

// Fills the record from the file at record.path; the file is closed again on return. Returns 1
// when the record holds a format. A file that cannot be opened gives 0 without a message; a file
// that is not a usable WAV (a format whose rates make no sense included) gives 0 and the message
// to show (owner: the caller's window).
int LoadWaveFileRecord(WaveFileRecord& record, const WavePrompt* prompt, WaveMessage& message);

// Frees the record's format copy.
void ReleaseWaveFileRecord(WaveFileRecord& record);

// What the recording engine hands over for tempwave.wav.
struct RecordedWave {
    const unsigned char* captureFormat; // WAVEFORMATEX, zero-filled to captureFormatSize bytes
    uint32_t captureFormatSize;         // the ACM maximum format size: the fmt chunk's size
    uint32_t recordedLength;            // bytes of sound in the capture file
    const char* capturePath;            // the engine's raw capture file
};

// The fact value of a recording: recordedBytes / nAvgBytesPerSec x nSamplesPerSec, truncated.
uint32_t RecordedSampleCount(uint32_t recordedBytes, const WaveFormatFields& format);

// Writes programDirectory + "tempwave.wav": RIFF WAVE with fmt, fact and data. Returns 0 on
// success or when nothing was recorded, else -1 .. -5; the message (caption "Error", owner: the
// caller's window) is set for every result but success. A partial file stays on disk.
int WriteRecordedWave(const RecordedWave& recorded, const char* programDirectory,
                      WaveMessage& message);

// The fmt chunk of a written file: 16 bytes for PCM, else 18 + cbSize. Returns 0 when the
// block is shorter than that or a write fails.
int WriteWaveFormatChunk(RiffFile& destination, const unsigned char* format,
                         uint32_t formatBlockSize);

// The fact chunk: 4 bytes, the sample count.
int WriteFactChunk(RiffFile& destination, uint32_t sampleCount);

// Copies one source chunk (as found by RiffDescend) to the destination: same id, size and
// contents, and a pad byte for an odd size. Returns 1, or 0 when a step fails; a chunk whose
// contents are not all in the source file is refused before anything is written.
int CopyChunk(RiffFile& source, RiffFile& destination, const RiffChunk& chunk);
