// The conversion loop, as the compressor runs it on tempwave.wav, with a stand-in codec that
// copies what it takes. The first four bytes of the input set the codec and the dialog (how much
// the codec takes of a step, which step it holds back or fails, when the user cancels, the
// answer to the loader's questions, the kind of output); the rest is the WAV file. Whatever the
// file: the codec is given the sound once, in order, from the start of the data; everything it
// gives out reaches the destination; and the destination reads back as a WAV file with the codec's
// format and the source's sample count.
#include "fuzz_support.h"

#include <cstring>

#include "audio/wave_conversion.h"

namespace {

// A codec format of its own: tag 0x7777 with two extra bytes.
const unsigned char kCodecFormat[20] = {0x77, 0x77, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F,
                                        0,    0,    1, 0, 8,    0,    2, 0, 'x',  'y'};

struct StandIn {
    uint32_t take;    // the most it takes of a step without the end flag (at least 1)
    int silentStep;   // gives nothing out at this step, holding the bytes back
    int failStep;     // fails at this step
    int cancelAtPump; // the dialog's pump that reports Cancel
    int steps;
    int pumps;
    std::string taken; // every byte taken, in order
    std::string held;  // taken, not yet given out
    std::string given; // everything given out
};

int Open(void* context, const unsigned char*, uint32_t, const unsigned char*, uint32_t,
         uint32_t readSize, uint32_t* destinationBufferSize) {
    static_cast<StandIn*>(context)->steps = 0;
    *destinationBufferSize = 2 * readSize; // room for a held step and the next
    return 1;
}

int Convert(void* context, ConvertStep& step) {
    auto& codec = *static_cast<StandIn*>(context);
    const int number = codec.steps++;
    if (number == codec.failStep) {
        return 0;
    }
    uint32_t taken = step.sourceLength;
    if (!(step.flags & kConvertEnd) && taken > codec.take) {
        taken = codec.take;
    }
    const std::string bytes(reinterpret_cast<const char*>(step.source), taken);
    codec.taken += bytes;
    codec.held += bytes;
    step.sourceUsed = taken;
    if (number == codec.silentStep || codec.held.size() > step.destinationLength) {
        return 1;
    }
    std::memcpy(step.destination, codec.held.data(), codec.held.size());
    step.destinationUsed = static_cast<uint32_t>(codec.held.size());
    codec.given += codec.held;
    codec.held.clear();
    return 1;
}

void Close(void*) {}

bool Answer(void* context, const char*, const char*) {
    return *static_cast<bool*>(context);
}

int Pump(void* context) {
    auto& codec = *static_cast<StandIn*>(context);
    return codec.pumps++ == codec.cancelAtPump ? 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    StandIn codec = {};
    codec.take = 1 + input.Byte() * 97u;
    codec.silentStep = input.Byte() % 8 - 1;
    codec.failStep = input.Byte() % 16 - 1;
    const uint8_t choice = input.Byte();
    codec.cancelAtPump = choice & 0x40 ? choice % 32 : -1;
    const ConversionOutput output =
        choice & 0x80 ? ConversionOutput::FramesOnly : ConversionOutput::RiffWave;
    const std::string file = input.Rest();

    // The compressor's own steps: the record, then the job from it.
    WaveFileRecord record = {};
    std::snprintf(record.path, sizeof record.path, "%s",
                  WriteFuzzFile("tempwave.wav", file).c_str());
    bool yes = (choice & 0x20) != 0; // the answer to the loader's questions
    WavePrompt prompt = {Answer, &yes};
    WaveMessage message;
    if (LoadWaveFileRecord(record, &prompt, message) != 1) {
        return 0;
    }
    static ConversionJob job;
    job = ConversionJob{};
    std::snprintf(job.sourcePath, sizeof job.sourcePath, "%s", record.path);
    job.sourceFormat = record.format;
    job.sourceFormatSize = record.formatSize;
    job.sampleCount = record.sampleCount;
    job.sourceDataSize = record.dataSize;
    job.readSize = ConversionReadSize(ReadWaveFormat(record.format, record.formatSize));
    const std::string destination = FuzzFolder() + "out.wav";
    std::snprintf(job.destinationPath, sizeof job.destinationPath, "%s", destination.c_str());
    job.destinationFormat = kCodecFormat;
    job.destinationFormatSize = sizeof kCodecFormat;
    job.converter = {&codec, Open, nullptr, Convert, Close};
    job.output = output;

    FUZZ_CHECK(job.readSize > 0 && job.readSize <= kLargestReadSize);
    if (!OpenConversion(job)) {
        ReleaseWaveFileRecord(record);
        return 0;
    }
    const int64_t soundStart = RiffSeek(job.sourceFile, 0, SEEK_CUR);
    const ConversionResult result =
        RunConversionLoop(job, ConversionProgress{&codec, Pump, nullptr});
    CloseConversion(job);
    ReleaseWaveFileRecord(record);

    // The codec saw the sound once, in order, from its first byte; never more than the data.
    FUZZ_CHECK(soundStart >= 0 && codec.taken.size() <= job.sourceDataSize);
    FUZZ_CHECK(file.compare(static_cast<size_t>(soundStart), codec.taken.size(), codec.taken) == 0);
    // A conversion that ends well leaves nothing the codec took behind.
    FUZZ_CHECK(result != ConversionResult::Done || codec.held.empty());

    // The destination: the codec's bytes alone, or a WAV file around them; all of them when the
    // conversion ended well, else those of the steps before it stopped.
    std::string sound = ReadFuzzFile(destination);
    if (output == ConversionOutput::RiffWave) {
        WaveFileInfo info;
        FUZZ_CHECK(wioFileOpen(&info, destination.c_str(), 0, nullptr) == kWioOk);
        FUZZ_CHECK(info.sampleCount == job.sampleCount);
        FUZZ_CHECK(std::memcmp(info.format, kCodecFormat, sizeof kCodecFormat) == 0);
        sound = sound.substr(info.dataOffset, info.dataSize);
        CloseWaveFile(&info);
    }
    FUZZ_CHECK(result == ConversionResult::Done ? sound == codec.given
                                                : codec.given.compare(0, sound.size(), sound) == 0);
    return 0;
}
