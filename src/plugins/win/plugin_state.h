// The encoder settings of the running program: plugin.ini, the custom encoder lines, the
// prepared custom line and the output name handed to the encoder runners.
#pragma once

#include "plugins/custom_encoder_line.h"
#include "plugins/custom_encoder_store.h"
#include "plugins/encoder_command_line.h"
#include "plugins/plugin_settings.h"

extern PluginSettings pluginSettings;

// The two custom lines and the selected slot, as last read or stored.
extern CustomEncoderLines customEncoderLines;

// The selected custom line prepared for the custom runner.
extern CustomEncoderCommand customEncoder;

// The output file name (no directory) for the MP3, custom and RealVideo runners, which complete
// its extension in place; the caller then attaches programDirectory + encoderOutputName.
extern char encoderOutputName[kEncoderOutputNameLength];

// Reads plugin.ini (writing the defaults when it is missing) and custom.ini, and prepares the
// selected custom line. Returns ReadPluginSettings' result. A plugin.ini of another version
// resets the custom slot to 0 as well.
int LoadPluginSettings();

// Writes plugin.ini from pluginSettings. 0 when it cannot be written.
int SavePluginSettings();

// Stores the custom lines and slot in custom.ini and prepares the selected line again.
int SaveCustomEncoderLines(const CustomEncoderLines& lines);

// Prepares the selected custom line (ParseCustomEncoderLine) into customEncoder.
void PrepareCustomEncoder();
