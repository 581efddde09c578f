// The RIFF and WAV readers. Any file either opens to a format block, sizes and counts that lie
// inside the file, or gives an error with everything closed and zeroed; the compressor's record
// holds exactly the format's bytes, with rates that make sense; and every chunk of the form,
// copied into a file of its own, reads back with the same bytes.
#include "fuzz_support.h"

#include <cstring>

#include "audio/riff_file.h"
#include "audio/wave_file.h"

namespace {

bool Answer(void* context, const char*, const char*) {
    return *static_cast<bool*>(context);
}

void CheckOpened(const std::string& path, size_t fileSize, bool yes) {
    WavePrompt prompt = {Answer, &yes};
    WaveFileInfo info;
    const uint32_t code = wioFileOpen(&info, path.c_str(), 0, &prompt);
    if (code != kWioOk) {
        FUZZ_CHECK(!info.file.file && info.format == nullptr && info.dataSize == 0);
        return;
    }
    FUZZ_CHECK(info.format != nullptr && info.formatBlockSize >= kWaveFormatExSize);
    FUZZ_CHECK(static_cast<uint64_t>(info.dataOffset) + info.dataSize <= fileSize);
    const WaveFormatFields fields = ReadWaveFormat(info.format, info.formatBlockSize);
    FUZZ_CHECK(fields.formatTag == kPcmFormatTag ||
               kWaveFormatExSize + fields.extraSize <= info.formatBlockSize);
    CloseWaveFile(&info);
    FUZZ_CHECK(!info.file.file && info.format == nullptr);
}

void CheckRecord(const std::string& path, bool yes) {
    WavePrompt prompt = {Answer, &yes};
    WaveFileRecord record = {};
    std::snprintf(record.path, sizeof record.path, "%s", path.c_str());
    WaveMessage message;
    if (LoadWaveFileRecord(record, &prompt, message) == 1) {
        const WaveFormatFields fields = ReadWaveFormat(record.format, record.formatSize);
        FUZZ_CHECK(record.formatSize == (fields.formatTag == kPcmFormatTag
                                             ? kPcmFormatSize
                                             : kWaveFormatExSize + fields.extraSize));
        FUZZ_CHECK(WaveRatesMakeSense(fields));
    } else {
        FUZZ_CHECK(record.format == nullptr);
    }
    FUZZ_CHECK(std::memchr(message.text, '\0', sizeof message.text) != nullptr);
    ReleaseWaveFileRecord(record);
}

// Copies the first chunks of the first WAVE form, each into a file of its own, and reads them
// back. A chunk whose contents are not all in the file is refused.
void CheckCopies(const std::string& path, const std::string& bytes) {
    RiffFile source = {};
    FUZZ_CHECK(RiffOpen(source, path.c_str(), RiffOpenMode::Read));
    RiffChunk form = {};
    form.formType = kWaveFormType;
    RiffChunk chunk = {};
    const std::string copyPath = FuzzFolder() + "copy.riff";
    for (int count = 0;
         count < 16 && (count > 0 || RiffDescend(source, form, nullptr, RiffFind::Form)) &&
         RiffDescend(source, chunk, &form, RiffFind::Next);
         ++count) {
        RiffFile copy = {};
        FUZZ_CHECK(RiffOpen(copy, copyPath.c_str(), RiffOpenMode::Write));
        const bool copied = CopyChunk(source, copy, chunk) == 1;
        FUZZ_CHECK(RiffClose(copy));
        FUZZ_CHECK(copied ==
                   (static_cast<uint64_t>(chunk.dataOffset) + chunk.size <= bytes.size()));
        if (copied) {
            const std::string written = ReadFuzzFile(copyPath);
            FUZZ_CHECK(written.size() == 8 + chunk.size + (chunk.size & 1));
            FUZZ_CHECK(written.compare(0, 8, bytes, chunk.dataOffset - 8, 8) == 0);
            FUZZ_CHECK(written.compare(8, chunk.size, bytes, chunk.dataOffset, chunk.size) == 0);
        }
        if (!RiffAscend(source, chunk)) {
            break;
        }
    }
    RiffClose(source);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = WriteFuzzFile("in.wav", bytes);
    const bool yes = size > 0 && (data[size - 1] & 1) != 0; // the answer to every question
    CheckOpened(path, size, yes);
    CheckRecord(path, yes);
    CheckCopies(path, bytes);
    return 0;
}
