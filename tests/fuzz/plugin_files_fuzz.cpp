// plugin.ini, custom.ini and the encoder lines. The input is read as both files: the settings
// stay within their ranges with the capture format that follows from them, the custom lines and
// slot are terminated and in range, every custom line prepares into texts that fit their buffers
// and builds a command line that holds the output name, and kto2mp3 reads its command line
// (the input's first line) into a terminated name.
#include "fuzz_support.h"

#include <cstring>

#include "mp3conv/converter_command.h"
#include "plugins/custom_encoder_store.h"
#include "plugins/encoder_launch.h"
#include "plugins/plugin_settings.h"

namespace {

bool Terminated(const char* text, size_t size) {
    return std::memchr(text, '\0', size) != nullptr;
}

void CheckCustomLine(const char* line) {
    CustomEncoderCommand command;
    const int prepared = ParseCustomEncoderLine(line, FuzzFolder().c_str(), command);
    FUZZ_CHECK(Terminated(command.customProgramName, sizeof command.customProgramName) &&
               Terminated(command.customExtension, sizeof command.customExtension) &&
               Terminated(command.preparedLine, sizeof command.preparedLine));
    FUZZ_CHECK(prepared == 1 ||
               std::strncmp(command.preparedLine, line, kCustomLineLength - 1) == 0);
    EncoderLaunch launch = {};
    char outputName[kEncoderOutputNameLength] = "voicemsg.wav";
    if (DescribeEncoderLaunch(EncoderRunnerKind::Custom, FuzzFolder().c_str(), command, launch) &&
        CompleteEncoderLaunch(EncoderRunnerKind::Custom, 0, outputName, sizeof outputName, command,
                              launch)) {
        FUZZ_CHECK(Terminated(launch.commandLine, sizeof launch.commandLine));
        const bool named = std::strstr(command.preparedLine, kCustomOutputMark) != nullptr;
        FUZZ_CHECK(!named || std::strstr(launch.commandLine, outputName) != nullptr);
    }
    char text[kEncoderMessageLength];
    const char* caption = nullptr;
    EncoderMissingMessage(EncoderRunnerKind::Custom, launch, text, sizeof text, &caption);
    FUZZ_CHECK(Terminated(text, sizeof text) && caption != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteFuzzFile(kPluginSettingsFileName, bytes);
    WriteFuzzFile(kCustomEncoderFileName, bytes);

    PluginSettings settings = {};
    if (ReadPluginSettings(FuzzFolder().c_str(), 1, settings) == 1) {
        FUZZ_CHECK(settings.audioSelection >= 0 && settings.audioSelection <= 3);
        FUZZ_CHECK(settings.mp3Quality >= 0 && settings.mp3Quality <= 1);
        FUZZ_CHECK(settings.videoSelection < 2);
        FUZZ_CHECK(settings.realVideoSelection >= 0 && settings.realVideoSelection <= 3);
    }
    PluginSettings format = settings;
    ApplyCaptureFormat(format);
    FUZZ_CHECK(
        format.channels == settings.channels && format.samplesPerSec == settings.samplesPerSec &&
        format.avgBytesPerSec == settings.avgBytesPerSec &&
        format.blockAlign == settings.blockAlign && format.bitsPerSample == settings.bitsPerSample);

    CustomEncoderLines lines;
    FUZZ_CHECK(ReadCustomEncoderLines(FuzzFolder().c_str(), lines) == 1);
    FUZZ_CHECK(lines.slot == 0 || lines.slot == 1);
    for (const char* line : lines.lines) {
        FUZZ_CHECK(Terminated(line, kCustomLineLength));
        CheckCustomLine(line);
    }

    ConverterRequest request;
    const std::string firstLine = bytes.substr(0, bytes.find('\n'));
    if (ParseConverterCommandLine(firstLine.c_str(), request) == 1) {
        FUZZ_CHECK(request.quality != '\0' && request.outputName[0] != '\0' &&
                   Terminated(request.outputName, sizeof request.outputName));
    }
    return 0;
}
