#include "plugins/win/plugin_state.h"

#include <windows.h>

#include <cstdio>

#include "audio/win/mp3_codec.h"
#include "base/win/program_directory.h"

PluginSettings pluginSettings = {};
CustomEncoderLines customEncoderLines = {};
CustomEncoderCommand customEncoder = {};
char encoderOutputName[kEncoderOutputNameLength] = {};

namespace {

bool PluginFileExists() {
    char path[kPathLength + 16];
    std::snprintf(path, sizeof path, "%s%s", programDirectory, kPluginSettingsFileName);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

void PrepareCustomEncoder() {
    const int slot = pluginSettings.customSlot == 1 ? 1 : 0;
    ParseCustomEncoderLine(customEncoderLines.lines[slot], programDirectory, customEncoder);
}

int LoadPluginSettings() {
    const bool existed = PluginFileExists();
    const int result = ReadPluginSettings(programDirectory, Mp3CodecPresent(), pluginSettings);
    ReadCustomEncoderLines(programDirectory, customEncoderLines);
    pluginSettings.customSlot = existed && result == 0 ? 0 : customEncoderLines.slot;
    PrepareCustomEncoder();
    return result;
}

int SavePluginSettings() {
    return WritePluginSettings(programDirectory, pluginSettings);
}

int SaveCustomEncoderLines(const CustomEncoderLines& lines) {
    customEncoderLines = lines;
    pluginSettings.customSlot = lines.slot == 1 ? 1 : 0;
    PrepareCustomEncoder();
    return WriteCustomEncoderLines(programDirectory, lines);
}
