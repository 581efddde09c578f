#include "mp3conv/win/converter_main.h"

#include <cstdio>
#include <cstdlib>

#include "audio/wave_conversion.h"
#include "audio/wave_file.h"
#include "audio/win/acm_converter.h"
#include "audio/win/acm_formats.h"
#include "audio/win/conversion_dialog.h"
#include "audio/win/mp3_codec_driver.h"
#include "audio/win/readable_file.h"
#include "mp3conv/converter_command.h"
#include "mp3conv/lame_converter.h"

namespace {

constexpr int kExitCode = 1;

ConverterRequest request = {};
// This program's own directory, with its trailing backslash.
char converterDirectory[kWavePathLength] = {};

bool AskUser(void*, const char* text, const char* caption) {
    return MessageBoxA(nullptr, text, caption, MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL) ==
           IDYES;
}

bool PathIn(char (&path)[kWavePathLength], const char* name) {
    int length = std::snprintf(path, sizeof path, "%s%s", converterDirectory, name);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

// The MPEG Layer-3 codec's own format when a registered codec can encode the source to it,
// else nullptr (kto2mp3 then encodes by itself).
unsigned char* CodecFormatFor(const WaveFileRecord& record, const Mp3Destination& destination,
                              HACMDRIVERID* driverId, uint32_t* size) {
    *driverId = addedMp3Driver != nullptr ? addedMp3Driver : FindDriverForTag(kMpegLayer3FormatTag);
    if (*driverId == nullptr) {
        return nullptr;
    }
    unsigned char* format = FirstFormatOfTag(*driverId, kMpegLayer3FormatTag, size);
    if (format == nullptr) {
        return nullptr;
    }
    ApplyMp3Destination(format, destination);
    if (!AcmCanConvert(*driverId, record.format, record.formatSize, format)) {
        std::free(format);
        return nullptr;
    }
    return format;
}

void Convert(HWND window, const char* outputPath) {
    WaveFileRecord record = {};
    if (!PathIn(record.path, kRecordedWaveName)) {
        return;
    }
    WavePrompt prompt = {AskUser, nullptr};
    WaveMessage message;
    const int loaded = LoadWaveFileRecord(record, &prompt, message);
    if (message.caption != nullptr) {
        MessageBoxA(window, message.text, message.caption, MB_OK);
    }
    if (!loaded) {
        ReleaseWaveFileRecord(record);
        return;
    }
    ConversionJob job = {};
    std::snprintf(job.sourcePath, sizeof job.sourcePath, "%s", record.path);
    std::snprintf(job.destinationPath, sizeof job.destinationPath, "%s", outputPath);
    job.sourceFormat = record.format;
    job.sourceFormatSize = record.formatSize;
    job.sampleCount = record.sampleCount;
    job.sourceDataSize = record.dataSize;
    job.readSize = ConversionReadSize(ReadWaveFormat(record.format, record.formatSize));

    if (Mp3CodecPresentIn(converterDirectory) != 1) {
        MessageBoxA(window, kMp3LoadFailedText, kMp3LoadFailedCaption, MB_OK | MB_ICONEXCLAMATION);
        ReleaseWaveFileRecord(record);
        return;
    }
    const Mp3Destination destination = Mp3DestinationFor(request.quality);
    HACMDRIVERID driverId = nullptr;
    uint32_t codecFormatSize = 0;
    unsigned char* codecFormat = CodecFormatFor(record, destination, &driverId, &codecFormatSize);
    AcmConverter acm;
    LameConverter lame;
    unsigned char ownFormat[kMp3WaveFormatSize];
    if (codecFormat != nullptr) {
        job.destinationFormat = codecFormat;
        job.destinationFormatSize = codecFormatSize;
        job.converter = AcmStreamConverter(acm, driverId);
    } else {
        BuildMp3WaveFormat(ownFormat, destination);
        job.destinationFormat = ownFormat;
        job.destinationFormatSize = sizeof ownFormat;
        job.converter = LameStreamConverter(lame);
    }
    // An .mp3 file holds the MPEG audio frames alone, whichever encoder made them.
    job.output = ConversionOutput::FramesOnly;
    ConvertFile(window, job, ConversionDialogLook::Converter);
    std::free(codecFormat);
    ReleaseWaveFileRecord(record);
}

void Start(HWND window) {
    char modulePath[kWavePathLength] = {};
    DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath - 1);
    modulePath[length < sizeof modulePath ? length : sizeof modulePath - 1] = '\0';
    if (!DirectoryOfModule(modulePath, converterDirectory, sizeof converterDirectory)) {
        return;
    }
    // Out of sight: one pixel a third of the way into the screen.
    MoveWindow(window, GetSystemMetrics(SM_CXSCREEN) / 3, GetSystemMetrics(SM_CYSCREEN) / 3, 1, 1,
               FALSE);
    // An output named like the input would delete the recording before it is read.
    if (lstrcmpiA(request.outputName, kRecordedWaveName) == 0) {
        return;
    }
    char input[kWavePathLength];
    char output[kWavePathLength];
    if (!PathIn(input, kRecordedWaveName) || !PathIn(output, request.outputName) ||
        !FileIsReadable(input)) {
        return;
    }
    DeleteFileA(output);
    Convert(window, output);
}

INT_PTR CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Start(window);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam) == IDOK ? 1 : 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int RunConverter(HINSTANCE instance, const char* commandLine) {
    if (!ParseConverterCommandLine(commandLine, request)) {
        return kExitCode;
    }
    // Without a codec file kto2mp3 still converts, with the encoder it carries.
    const int added = AddMp3CodecDriver();
    DialogBoxParamA(instance, "DIALOG_WINDOW", nullptr, DialogWindowProc, 0);
    if (added) {
        RemoveMp3CodecDriver();
    }
    if (HWND mainWindow = FindWindowA("Kestro", nullptr)) {
        SetForegroundWindow(mainWindow);
    }
    return kExitCode;
}
