#include "audio/wave_conversion.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t kNothingShown = 0xFFFFFFFF;
// A codec that keeps giving out bytes at the end without taking any source is stopped after
// this many such steps, so that a faulty codec cannot hold the dialog forever.
constexpr int kMostIdleCleanupSteps = 64;

int64_t ContentsEnd(const RiffChunk& chunk) {
    return static_cast<int64_t>(chunk.dataOffset) + chunk.size;
}

uint32_t Smaller(uint32_t a, uint32_t b) {
    return a < b ? a : b;
}

// Walks the source form: every DISP and plst chunk is copied to the destination; a chunk that
// runs past the end of the form is refused.
bool CopyDisplayChunks(ConversionJob& job, const RiffChunk& form) {
    RiffChunk chunk = {};
    while (RiffDescend(job.sourceFile, chunk, &form, RiffFind::Next)) {
        if (ContentsEnd(chunk) > ContentsEnd(form)) {
            return false;
        }
        if ((chunk.id == kDispChunkId || chunk.id == kPlstChunkId) &&
            !CopyChunk(job.sourceFile, job.destinationFile, chunk)) {
            return false;
        }
        if (!RiffAscend(job.sourceFile, chunk)) {
            break;
        }
    }
    return true;
}

// Leaves the source at the sound of its first data chunk that holds any (the one whose size
// the WaveFileRecord gave). Without sound to convert a missing data chunk does not matter.
bool FindSourceData(ConversionJob& job, const RiffChunk& form) {
    if (RiffSeek(job.sourceFile, static_cast<int64_t>(form.dataOffset) + 4, SEEK_SET) < 0) {
        return false;
    }
    RiffChunk data = {};
    data.id = kDataChunkId;
    while (RiffDescend(job.sourceFile, data, &form, RiffFind::Chunk)) {
        if (data.size > 0) {
            return true;
        }
        if (!RiffAscend(job.sourceFile, data)) {
            break;
        }
    }
    return job.sourceDataSize == 0;
}

bool OpenFiles(ConversionJob& job) {
    if (!RiffOpen(job.sourceFile, job.sourcePath, RiffOpenMode::Read) ||
        !RiffOpen(job.destinationFile, job.destinationPath, RiffOpenMode::Write)) {
        return false;
    }
    // One byte at least, so that nothing depends on what calloc(0) returns; the sizes are
    // widened first so that the extra byte cannot wrap them to zero.
    job.sourceBuffer =
        static_cast<unsigned char*>(std::calloc(static_cast<size_t>(job.readSize) + 1, 1));
    job.destinationBuffer = static_cast<unsigned char*>(
        std::calloc(static_cast<size_t>(job.destinationBufferSize) + 1, 1));
    if (job.sourceBuffer == nullptr || job.destinationBuffer == nullptr) {
        return false;
    }
    if (job.converter.prepare != nullptr &&
        !job.converter.prepare(job.converter.context, job.sourceBuffer, job.readSize,
                               job.destinationBuffer, job.destinationBufferSize)) {
        return false;
    }
    RiffChunk form = {};
    form.formType = kWaveFormType;
    if (job.output == ConversionOutput::FramesOnly) {
        return RiffDescend(job.sourceFile, form, nullptr, RiffFind::Form) &&
               FindSourceData(job, form);
    }
    job.riffChunk = RiffChunk{};
    job.riffChunk.formType = kWaveFormType;
    if (!RiffCreateChunk(job.destinationFile, job.riffChunk, RiffCreate::Form)) {
        return false;
    }
    job.riffOpen = 1;

    if (!RiffDescend(job.sourceFile, form, nullptr, RiffFind::Form) ||
        !CopyDisplayChunks(job, form) || !FindSourceData(job, form)) {
        return false;
    }
    if (!WriteWaveFormatChunk(job.destinationFile, job.destinationFormat,
                              job.destinationFormatSize) ||
        !WriteFactChunk(job.destinationFile, job.sampleCount)) {
        return false;
    }
    job.dataChunk = RiffChunk{};
    job.dataChunk.id = kDataChunkId;
    if (!RiffCreateChunk(job.destinationFile, job.dataChunk, RiffCreate::Plain)) {
        return false;
    }
    job.dataOpen = 1;
    return true;
}

struct ProgressShown {
    const ConversionProgress& progress;
    uint32_t lastPercent;
    char title[64];
};

bool Cancelled(const ConversionProgress& progress) {
    return progress.pump != nullptr && progress.pump(progress.context) != 0;
}

void ShowProgress(ProgressShown& shown, const char* titleFormat, uint32_t done, uint32_t total) {
    const uint32_t percent =
        total == 0 ? 0 : static_cast<uint32_t>(static_cast<uint64_t>(done) * 100 / total);
    const char* title = nullptr;
    if (percent != shown.lastPercent) {
        std::snprintf(shown.title, sizeof shown.title, titleFormat, percent);
        shown.lastPercent = percent;
        title = shown.title;
    }
    if (shown.progress.show != nullptr) {
        shown.progress.show(shown.progress.context, done, total, title);
    }
}

bool Convert(ConversionJob& job, ConvertStep& step) {
    step.sourceUsed = 0;
    step.destinationUsed = 0;
    if (!job.converter.convert(job.converter.context, step)) {
        return false;
    }
    return step.sourceUsed <= step.sourceLength && step.destinationUsed <= step.destinationLength;
}

ConvertStep StepOf(ConversionJob& job, uint32_t sourceLength, uint32_t flags) {
    ConvertStep step = {};
    step.source = job.sourceBuffer;
    step.sourceLength = sourceLength;
    step.destination = job.destinationBuffer;
    step.destinationLength = job.destinationBufferSize;
    step.flags = flags;
    return step;
}

// The codec took fewer bytes than it was given: the next read starts at the first one left.
bool SeekBackUnused(ConversionJob& job, const ConvertStep& step) {
    const uint32_t unused = step.sourceLength - step.sourceUsed;
    return unused == 0 || RiffSeek(job.sourceFile, -static_cast<int64_t>(unused), SEEK_CUR) >= 0;
}

bool WriteOutput(ConversionJob& job, const ConvertStep& step) {
    return RiffWrite(job.destinationFile, job.destinationBuffer, step.destinationUsed) ==
           step.destinationUsed;
}

// The last step of the cleanup pass gave nothing: the codec is asked once more with the end
// flag alone, over the bytes it left. Those bytes are moved to the front of the source buffer
// first, so that bytes it already took are not given to it twice.
bool ConvertEndAlone(ConversionJob& job, ConvertStep& step) {
    const uint32_t taken = step.sourceUsed;
    const uint32_t left = step.sourceLength - taken;
    for (uint32_t i = 0; i < left; ++i) {
        job.sourceBuffer[i] = job.sourceBuffer[taken + i];
    }
    ConvertStep again = StepOf(job, left, kConvertEnd);
    if (!Convert(job, again)) {
        return false;
    }
    step.sourceUsed = taken + again.sourceUsed;
    step.destinationUsed = again.destinationUsed;
    return true;
}

} // namespace

uint32_t ConversionReadSize(const WaveFormatFields& source) {
    if (!WaveRatesMakeSense(source)) {
        return 0;
    }
    return source.avgBytesPerSec - source.avgBytesPerSec % source.blockAlign;
}

int OpenConversion(ConversionJob& job) {
    job.converterOpen = 1;
    job.destinationBufferSize = 0;
    if (job.converter.open == nullptr || job.converter.convert == nullptr || job.readSize == 0 ||
        job.readSize > kLargestReadSize ||
        !job.converter.open(job.converter.context, job.sourceFormat, job.sourceFormatSize,
                            job.destinationFormat, job.destinationFormatSize, job.readSize,
                            &job.destinationBufferSize) ||
        !OpenFiles(job)) {
        CloseConversion(job);
        return 0;
    }
    return 1;
}

ConversionResult RunConversionLoop(ConversionJob& job, const ConversionProgress& progress) {
    const uint32_t total = job.sourceDataSize;
    uint32_t done = 0;
    ProgressShown shown = {progress, kNothingShown, {}};

    while (done < total) {
        ShowProgress(shown, kMainPassTitle, done, total);
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        const size_t got =
            RiffRead(job.sourceFile, job.sourceBuffer, Smaller(job.readSize, total - done));
        if (got == 0) {
            break;
        }
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        ConvertStep step = StepOf(job, static_cast<uint32_t>(got), kConvertBlockAlign);
        if (!Convert(job, step)) {
            return ConversionResult::Failed;
        }
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        if (!SeekBackUnused(job, step)) {
            return ConversionResult::Failed;
        }
        done += step.sourceUsed;
        if (step.destinationUsed == 0) {
            break;
        }
        if (!WriteOutput(job, step)) {
            return ConversionResult::Failed;
        }
    }
    if (total == 0) {
        return ConversionResult::Done;
    }

    shown.lastPercent = kNothingShown; // the cleanup pass shows its own title
    for (int idleSteps = 0; idleSteps < kMostIdleCleanupSteps;) {
        ShowProgress(shown, kCleanupPassTitle, done, total);
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        uint32_t length = Smaller(job.readSize, total - done);
        if (length > 0) {
            length = static_cast<uint32_t>(RiffRead(job.sourceFile, job.sourceBuffer, length));
            if (length == 0) {
                return ConversionResult::Done;
            }
        }
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        ConvertStep step = StepOf(job, length, kConvertBlockAlign | kConvertEnd);
        if (!Convert(job, step)) {
            return ConversionResult::Failed;
        }
        if (Cancelled(progress)) {
            return ConversionResult::Cancelled;
        }
        if (step.destinationUsed == 0) {
            if (!ConvertEndAlone(job, step)) {
                return ConversionResult::Failed;
            }
            if (step.destinationUsed == 0) {
                return ConversionResult::Done;
            }
        }
        if (!WriteOutput(job, step) || !SeekBackUnused(job, step)) {
            return ConversionResult::Failed;
        }
        done += step.sourceUsed;
        idleSteps = step.sourceUsed == 0 ? idleSteps + 1 : 0;
    }
    return ConversionResult::Done;
}

void CloseConversion(ConversionJob& job) {
    RiffClose(job.sourceFile);
    if (job.dataOpen) {
        RiffAscend(job.destinationFile, job.dataChunk);
        job.dataOpen = 0;
    }
    if (job.riffOpen) {
        RiffAscend(job.destinationFile, job.riffChunk);
        job.riffOpen = 0;
    }
    RiffClose(job.destinationFile);
    if (job.converterOpen && job.converter.close != nullptr) {
        job.converter.close(job.converter.context);
    }
    job.converterOpen = 0;
    std::free(job.sourceBuffer);
    std::free(job.destinationBuffer);
    job.sourceBuffer = nullptr;
    job.destinationBuffer = nullptr;
}
