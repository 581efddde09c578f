#include "audio/wave_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/scoped_file.h"

namespace {

uint32_t CloseAndFail(WaveFileInfo& info, uint32_t code) {
    CloseWaveFile(&info);
    return code;
}

bool Ask(const WavePrompt* prompt, const char* text) {
    return prompt != nullptr && prompt->ask != nullptr &&
           prompt->ask(prompt->context, text, kWioCaption);
}

void ClearMessage(WaveMessage& message) {
    message.caption = nullptr;
    message.text[0] = '\0';
}

void SetMessage(WaveMessage& message, const char* caption, const char* text) {
    message.caption = caption;
    std::snprintf(message.text, sizeof message.text, "%s", text);
}

int64_t ContentsEnd(const RiffChunk& chunk) {
    return static_cast<int64_t>(chunk.dataOffset) + chunk.size;
}

// Reads the first fmt chunk into a zero-filled block of at least 18 bytes. The size is checked
// against the file before anything is allocated, and a non-PCM format must hold the extra bytes
// its cbSize announces, so that every later reader of the block stays inside it.
uint32_t ReadFormatChunk(WaveFileInfo& info, const RiffChunk& chunk, int64_t fileLength) {
    if (ContentsEnd(chunk) > fileLength) {
        return kWioCannotRead;
    }
    const uint32_t blockSize = chunk.size > kWaveFormatExSize ? chunk.size : kWaveFormatExSize;
    info.format = static_cast<unsigned char*>(std::calloc(blockSize, 1));
    if (info.format == nullptr) {
        return kWioNoMemory;
    }
    info.formatBlockSize = blockSize;
    if (RiffRead(info.file, info.format, chunk.size) != chunk.size) {
        return kWioCannotRead;
    }
    WaveFormatFields fields = ReadWaveFormat(info.format, blockSize);
    if (fields.formatTag != kPcmFormatTag &&
        kWaveFormatExSize + fields.extraSize > info.formatBlockSize) {
        return kWioCannotRead;
    }
    return kWioOk;
}

// The data chunk's size, cut to the bytes that follow its header in the file.
uint32_t DataBytesPresent(const RiffChunk& chunk, int64_t fileLength) {
    if (ContentsEnd(chunk) <= fileLength) {
        return chunk.size;
    }
    return fileLength > chunk.dataOffset ? static_cast<uint32_t>(fileLength - chunk.dataOffset) : 0;
}

int WriteRecordedChunks(RiffFile& out, const RecordedWave& recorded, WaveMessage& message) {
    auto fail = [&message](int result, const char* text) {
        SetMessage(message, kRecordedWaveCaption, text);
        return result;
    };

    RiffChunk riff = {};
    riff.formType = kWaveFormType;
    if (!RiffCreateChunk(out, riff, RiffCreate::Form)) {
        return fail(-2, kCreateRiffText);
    }

    RiffChunk format = {};
    format.id = kFmtChunkId;
    format.size = recorded.captureFormatSize;
    if (!RiffCreateChunk(out, format, RiffCreate::Plain)) {
        return fail(-3, kCreateFormatText);
    }
    if (recorded.captureFormat == nullptr ||
        RiffWrite(out, recorded.captureFormat, recorded.captureFormatSize) !=
            recorded.captureFormatSize ||
        !RiffAscend(out, format)) {
        return fail(-3, kWriteFormatText);
    }

    RiffChunk fact = {};
    fact.id = kFactChunkId;
    fact.size = 4;
    if (!RiffCreateChunk(out, fact, RiffCreate::Plain)) {
        return fail(-4, kCreateFactText);
    }
    WaveFormatFields fields = ReadWaveFormat(recorded.captureFormat, recorded.captureFormatSize);
    unsigned char count[4];
    WriteLittleEndian32(count, RecordedSampleCount(recorded.recordedLength, fields));
    if (RiffWrite(out, count, 4) != 4 || !RiffAscend(out, fact)) {
        return fail(-4, kWriteFactText);
    }

    RiffChunk data = {};
    data.id = kDataChunkId;
    if (!RiffCreateChunk(out, data, RiffCreate::Plain)) {
        return fail(-5, kCreateDataText);
    }
    ScopedFile capture(recorded.capturePath != nullptr ? std::fopen(recorded.capturePath, "rb")
                                                       : nullptr);
    if (!capture) {
        return fail(-5, kWriteDataText);
    }
    unsigned char* piece = static_cast<unsigned char*>(std::malloc(kRecordedCopyPiece));
    if (piece == nullptr) {
        return fail(-5, kWriteDataText);
    }
    // A short write (a full disk) is reported rather than leaving a cut-off recording behind.
    bool written = true;
    for (;;) {
        size_t got = std::fread(piece, 1, kRecordedCopyPiece, capture.get());
        if (got == 0) {
            break;
        }
        if (RiffWrite(out, piece, got) != got) {
            written = false;
            break;
        }
    }
    std::free(piece);
    if (!written || !RiffAscend(out, data) || !RiffAscend(out, riff)) {
        return fail(-5, kWriteDataText);
    }
    return 0;
}

} // namespace

WaveFormatFields ReadWaveFormat(const unsigned char* block, size_t blockSize) {
    unsigned char bytes[kWaveFormatExSize] = {};
    if (block != nullptr) {
        std::memcpy(bytes, block, blockSize < sizeof bytes ? blockSize : sizeof bytes);
    }
    WaveFormatFields fields;
    fields.formatTag = ReadLittleEndian16(bytes);
    fields.channels = ReadLittleEndian16(bytes + 2);
    fields.samplesPerSec = ReadLittleEndian32(bytes + 4);
    fields.avgBytesPerSec = ReadLittleEndian32(bytes + 8);
    fields.blockAlign = ReadLittleEndian16(bytes + 12);
    fields.bitsPerSample = ReadLittleEndian16(bytes + 14);
    fields.extraSize = ReadLittleEndian16(bytes + 16);
    return fields;
}

void WriteWaveFormat(unsigned char* block, const WaveFormatFields& fields) {
    WriteLittleEndian16(block, fields.formatTag);
    WriteLittleEndian16(block + 2, fields.channels);
    WriteLittleEndian32(block + 4, fields.samplesPerSec);
    WriteLittleEndian32(block + 8, fields.avgBytesPerSec);
    WriteLittleEndian16(block + 12, fields.blockAlign);
    WriteLittleEndian16(block + 14, fields.bitsPerSample);
    WriteLittleEndian16(block + 16, fields.extraSize);
}

uint32_t wioFileOpen(WaveFileInfo* info, const char* path, uint32_t flags,
                     const WavePrompt* prompt) {
    if (info == nullptr) {
        return kWioNoRecord;
    }
    *info = WaveFileInfo{};
    info->flags = flags;
    if (path == nullptr || !RiffOpen(info->file, path, RiffOpenMode::Read)) {
        return CloseAndFail(*info, kWioCannotRead);
    }
    const int64_t fileLength = RiffFileLength(info->file);
    RiffChunk riff = {};
    riff.formType = kWaveFormType;
    if (fileLength < 0 || !RiffDescend(info->file, riff, nullptr, RiffFind::Form)) {
        return CloseAndFail(*info, kWioCannotRead);
    }

    info->sampleCount = kUnknownSampleCount;
    RiffChunk chunk = {};
    while (RiffDescend(info->file, chunk, &riff, RiffFind::Next)) {
        if (ContentsEnd(chunk) > ContentsEnd(riff)) {
            char text[kWaveMessageLength];
            std::snprintf(
                text, sizeof text, kWioChunkBeyondRiffText, static_cast<unsigned long>(chunk.id),
                static_cast<unsigned long>(chunk.dataOffset),
                static_cast<unsigned long>(chunk.size), static_cast<unsigned long>(riff.size));
            if (!Ask(prompt, text)) {
                return CloseAndFail(*info, kWioUserCancelled);
            }
        }
        if (chunk.id == kFmtChunkId && info->format == nullptr) {
            uint32_t code = ReadFormatChunk(*info, chunk, fileLength);
            if (code != kWioOk) {
                return CloseAndFail(*info, code);
            }
        } else if (chunk.id == kDataChunkId && info->dataSize == 0) {
            info->dataSize = DataBytesPresent(chunk, fileLength);
            info->dataOffset = chunk.dataOffset;
        } else if (chunk.id == kFactChunkId && info->sampleCount == kUnknownSampleCount &&
                   chunk.size >= 4) {
            unsigned char count[4];
            if (RiffRead(info->file, count, 4) == 4) {
                info->sampleCount = ReadLittleEndian32(count);
            }
        }
        if (!RiffAscend(info->file, chunk)) {
            break;
        }
    }

    if (info->format == nullptr) {
        return CloseAndFail(*info, kWioNoFormat);
    }
    if (info->sampleCount != kUnknownSampleCount) {
        return kWioOk;
    }
    WaveFormatFields fields = ReadWaveFormat(info->format, info->formatBlockSize);
    if (fields.formatTag == kPcmFormatTag) {
        info->sampleCount = fields.blockAlign != 0 ? info->dataSize / fields.blockAlign : 0;
        return kWioOk;
    }
    if (!Ask(prompt, kWioMissingFactText)) {
        return CloseAndFail(*info, kWioUserCancelled);
    }
    info->sampleCount = 0;
    return kWioOk;
}

uint32_t CloseWaveFile(WaveFileInfo* info) {
    if (info == nullptr) {
        return kWioNoRecord;
    }
    RiffClose(info->file);
    std::free(info->format);
    *info = WaveFileInfo{};
    return 0;
}

void ReleaseWaveFileRecord(WaveFileRecord& record) {
    std::free(record.format);
    record.format = nullptr;
    record.formatSize = 0;
    record.dataSize = 0;
    record.sampleCount = 0;
}

int LoadWaveFileRecord(WaveFileRecord& record, const WavePrompt* prompt, WaveMessage& message) {
    ClearMessage(message);
    ReleaseWaveFileRecord(record);
    if (std::memchr(record.path, '\0', sizeof record.path) == nullptr) {
        return 0;
    }
    if (!ScopedFile(record.path, "rb")) {
        return 0;
    }

    WaveFileInfo info;
    uint32_t code = wioFileOpen(&info, record.path, 0, prompt);
    if (code != kWioOk) {
        message.caption = kLoadWaveCaption;
        std::snprintf(message.text, sizeof message.text, kLoadWaveFailedText, record.path,
                      static_cast<unsigned>(code));
        return 0;
    }
    WaveFormatFields fields = ReadWaveFormat(info.format, info.formatBlockSize);
    // wioFileOpen made sure the block holds this many bytes.
    const uint32_t size =
        fields.formatTag == kPcmFormatTag ? kPcmFormatSize : kWaveFormatExSize + fields.extraSize;
    unsigned char* copy = static_cast<unsigned char*>(std::malloc(size));
    if (copy != nullptr) {
        std::memcpy(copy, info.format, size);
        record.format = copy;
        record.formatSize = size;
    }
    record.dataSize = info.dataSize;
    record.sampleCount = info.sampleCount;
    CloseWaveFile(&info);
    return copy != nullptr ? 1 : 0;
}

uint32_t RecordedSampleCount(uint32_t recordedBytes, const WaveFormatFields& format) {
    if (format.avgBytesPerSec == 0) {
        return 0;
    }
    // Whole-number arithmetic gives the exact truncated quotient, where a floating-point
    // division followed by a product can land just below a whole number.
    uint64_t count =
        static_cast<uint64_t>(recordedBytes) * format.samplesPerSec / format.avgBytesPerSec;
    return count > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(count);
}

int WriteRecordedWave(const RecordedWave& recorded, const char* programDirectory,
                      WaveMessage& message) {
    ClearMessage(message);
    if (recorded.recordedLength == 0) {
        SetMessage(message, kRecordedWaveCaption, kNoRecordedDataText);
        return 0;
    }
    char path[kWavePathLength];
    int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, kRecordedWaveName);
    RiffFile out = {};
    if (length < 0 || length >= static_cast<int>(sizeof path) ||
        !RiffOpen(out, path, RiffOpenMode::Write)) {
        SetMessage(message, kRecordedWaveCaption, kOpenForWriteText);
        return -1;
    }
    int result = WriteRecordedChunks(out, recorded, message);
    if (!RiffClose(out) && result == 0) {
        SetMessage(message, kRecordedWaveCaption, kWriteDataText);
        result = -5;
    }
    return result;
}

int WriteWaveFormatChunk(RiffFile& destination, const unsigned char* format,
                         uint32_t formatBlockSize) {
    WaveFormatFields fields = ReadWaveFormat(format, formatBlockSize);
    const uint32_t size =
        fields.formatTag == kPcmFormatTag ? kPcmFormatSize : kWaveFormatExSize + fields.extraSize;
    if (format == nullptr || size > formatBlockSize) {
        return 0;
    }
    RiffChunk chunk = {};
    chunk.id = kFmtChunkId;
    chunk.size = size;
    if (!RiffCreateChunk(destination, chunk, RiffCreate::Plain) ||
        RiffWrite(destination, format, size) != size || !RiffAscend(destination, chunk)) {
        return 0;
    }
    return 1;
}

int WriteFactChunk(RiffFile& destination, uint32_t sampleCount) {
    RiffChunk chunk = {};
    chunk.id = kFactChunkId;
    chunk.size = 4;
    unsigned char count[4];
    WriteLittleEndian32(count, sampleCount);
    if (!RiffCreateChunk(destination, chunk, RiffCreate::Plain) ||
        RiffWrite(destination, count, 4) != 4 || !RiffAscend(destination, chunk)) {
        return 0;
    }
    return 1;
}

int CopyChunk(RiffFile& source, RiffFile& destination, const RiffChunk& chunk) {
    const int64_t fileLength = RiffFileLength(source);
    if (fileLength < 0 || ContentsEnd(chunk) > fileLength ||
        RiffSeek(source, chunk.dataOffset, SEEK_SET) < 0) {
        return 0;
    }
    // One byte at least, so that an empty chunk does not depend on what malloc(0) returns.
    unsigned char* buffer =
        static_cast<unsigned char*>(std::malloc(static_cast<size_t>(chunk.size) + 1));
    if (buffer == nullptr) {
        return 0;
    }
    int result = 0;
    RiffChunk copy = {};
    copy.id = chunk.id;
    copy.size = chunk.size;
    if (RiffRead(source, buffer, chunk.size) == chunk.size &&
        RiffCreateChunk(destination, copy, RiffCreate::Plain) &&
        RiffWrite(destination, buffer, chunk.size) == chunk.size && RiffAscend(destination, copy)) {
        result = 1;
    }
    std::free(buffer);
    return result;
}
