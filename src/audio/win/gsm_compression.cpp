#include "audio/win/gsm_compression.h"

#include <cstdio>
#include <cstdlib>

#include "audio/wave_conversion.h"
#include "audio/win/acm_converter.h"
#include "audio/win/acm_formats.h"
#include "audio/win/conversion_dialog.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"

namespace {

bool AskUser(void*, const char* text, const char* caption) {
    return ShowMessageBox(nullptr, text, caption, MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL) ==
           IDYES;
}

bool ProgramFilePath(char (&path)[kWavePathLength], const char* name) {
    int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, name);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

// Converts programDirectory + sourceName into programDirectory + fileName.
int CompressProgramFile(HWND owner, const char* sourceName, const char* fileName) {
    WaveFileRecord record = {};
    if (!ProgramFilePath(record.path, sourceName)) {
        return 0;
    }
    WavePrompt prompt = {AskUser, nullptr};
    WaveMessage message;
    const int loaded = LoadWaveFileRecord(record, &prompt, message);
    if (message.caption != nullptr) {
        ShowMessageBox(owner, message.text, message.caption, MB_OK);
    }
    if (!loaded) {
        ReleaseWaveFileRecord(record);
        return 0;
    }

    ConversionJob job = {};
    std::snprintf(job.sourcePath, sizeof job.sourcePath, "%s", record.path);
    job.sourceFormat = record.format;
    job.sourceFormatSize = record.formatSize;
    job.sampleCount = record.sampleCount;
    job.sourceDataSize = record.dataSize;
    job.readSize = ConversionReadSize(ReadWaveFormat(record.format, record.formatSize));
    if (!ProgramFilePath(job.destinationPath, fileName)) {
        ReleaseWaveFileRecord(record);
        return 0;
    }

    HACMDRIVERID driverId = FindDriverForTag(kGsm610FormatTag);
    if (driverId == nullptr) {
        ShowMessageBox(owner, kGsmMissingText, kGsmMissingCaption, MB_OK);
        ReleaseWaveFileRecord(record);
        return 0;
    }
    uint32_t formatSize = 0;
    unsigned char* destinationFormat = FirstFormatOfTag(driverId, kGsm610FormatTag, &formatSize);
    int result = 0;
    if (destinationFormat != nullptr) {
        job.destinationFormat = destinationFormat;
        job.destinationFormatSize = formatSize;
        AcmConverter acm;
        job.converter = AcmStreamConverter(acm, driverId);
        result = ConvertFile(owner, job, ConversionDialogLook::MainProgram);
    }
    std::free(destinationFormat);
    ReleaseWaveFileRecord(record);
    return result;
}

} // namespace

int CompressToGsm(HWND owner, const char* fileName) {
    if (lstrcmpiA(fileName, kRecordedWaveName) != 0) {
        return CompressProgramFile(owner, kRecordedWaveName, fileName);
    }
    // The voice file takes the recording's own name: the recording moves aside first, so that
    // it is not overwritten while it is read, and comes back when the compression fails.
    char recording[kWavePathLength];
    char aside[kWavePathLength];
    if (!ProgramFilePath(recording, kRecordedWaveName) ||
        !ProgramFilePath(aside, kRecordingAsideName)) {
        return 0;
    }
    DeleteFileA(aside);
    if (!MoveFileA(recording, aside)) {
        return 0;
    }
    const int result = CompressProgramFile(owner, kRecordingAsideName, fileName);
    if (result == 1) {
        DeleteFileA(aside);
    } else {
        DeleteFileA(recording);
        MoveFileA(aside, recording);
    }
    return result;
}
