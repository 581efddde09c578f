#include "plugins/encoder_launch.h"

#include <cstdio>
#include <cstring>

namespace {

// The first word of a line, cut to fit.
void FirstWordOf(const char* line, char* word, size_t size) {
    while (*line == ' ' || *line == '\t') {
        ++line;
    }
    size_t length = 0;
    while (line[length] != '\0' && line[length] != ' ' && line[length] != '\t') {
        ++length;
    }
    if (length >= size) {
        length = size - 1;
    }
    std::memcpy(word, line, length);
    word[length] = '\0';
}

const char* ProgramFileName(EncoderRunnerKind kind, const CustomEncoderCommand& custom) {
    switch (kind) {
    case EncoderRunnerKind::Mp3:
        return kMp3EncoderProgram;
    case EncoderRunnerKind::Custom:
        return custom.customProgramName;
    case EncoderRunnerKind::RealVideo:
        return kRealVideoEncoderProgram;
    case EncoderRunnerKind::CodecInstaller:
        return kCodecInstallerProgram;
    }
    return "";
}

const char* MissingCaption(EncoderRunnerKind kind) {
    switch (kind) {
    case EncoderRunnerKind::Mp3:
        return kMp3MissingCaption;
    case EncoderRunnerKind::Custom:
        return kCustomMissingCaption;
    case EncoderRunnerKind::RealVideo:
        return kRealVideoMissingCaption;
    case EncoderRunnerKind::CodecInstaller:
        return kInstallerMissingCaption;
    }
    return "";
}

} // namespace

int DescribeEncoderLaunch(EncoderRunnerKind kind, const char* programDirectory,
                          const CustomEncoderCommand& custom, EncoderLaunch& launch) {
    launch.commandLine[0] = '\0';
    launch.startupTitle = kind == EncoderRunnerKind::Mp3      ? "MP3 Compression"
                          : kind == EncoderRunnerKind::Custom ? "Custom Encoder"
                                                              : " ";
    launch.timerId = kind == EncoderRunnerKind::CodecInstaller ? 1 : 1000;
    const char* program = ProgramFileName(kind, custom);
    if (kind == EncoderRunnerKind::Custom && program[0] == '\0') {
        FirstWordOf(custom.preparedLine, launch.programName, sizeof launch.programName);
    } else {
        FirstWordOf(program, launch.programName, sizeof launch.programName);
    }
    int length = std::snprintf(launch.programPath, sizeof launch.programPath, "%s%s",
                               programDirectory, program);
    return length >= 0 && length < static_cast<int>(sizeof launch.programPath) ? 1 : 0;
}

void EncoderMissingMessage(EncoderRunnerKind kind, const EncoderLaunch& launch, char* text,
                           size_t size, const char** caption) {
    *caption = MissingCaption(kind);
    switch (kind) {
    case EncoderRunnerKind::Mp3:
        std::snprintf(text, size, kMp3MissingText, kMp3EncoderProgram);
        break;
    case EncoderRunnerKind::Custom:
        std::snprintf(text, size, kCustomMissingText, launch.programName);
        break;
    case EncoderRunnerKind::RealVideo:
        std::snprintf(text, size, "%s", kRealVideoMissingText);
        break;
    case EncoderRunnerKind::CodecInstaller:
        std::snprintf(text, size, "%s", kInstallerMissingText);
        break;
    }
}

void EncoderNotStartedMessage(EncoderRunnerKind kind, const EncoderLaunch& launch, char* text,
                              size_t size, const char** caption) {
    *caption = MissingCaption(kind);
    std::snprintf(text, size, kEncoderNotStartedText, launch.programPath);
}

int CompleteEncoderLaunch(EncoderRunnerKind kind, int quality, char* outputName,
                          size_t outputNameSize, const CustomEncoderCommand& custom,
                          EncoderLaunch& launch) {
    launch.commandLine[0] = '\0';
    switch (kind) {
    case EncoderRunnerKind::Mp3:
        return CompleteMp3OutputName(outputName, outputNameSize) &&
               BuildQualityCommandLine(quality, outputName, launch.commandLine,
                                       sizeof launch.commandLine);
    case EncoderRunnerKind::RealVideo:
        return CompleteRealVideoOutputName(outputName, outputNameSize) &&
               BuildQualityCommandLine(quality, outputName, launch.commandLine,
                                       sizeof launch.commandLine);
    case EncoderRunnerKind::Custom:
        return CompleteCustomOutputName(outputName, outputNameSize, custom.customExtension) &&
               BuildCustomCommandLine(custom.preparedLine, outputName, launch.commandLine,
                                      sizeof launch.commandLine);
    case EncoderRunnerKind::CodecInstaller:
        return 1;
    }
    return 0;
}
