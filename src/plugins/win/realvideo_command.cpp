#include "plugins/win/realvideo_command.h"

#include <cstdio>

#include "base/win/program_directory.h"
#include "compose/win/attachments.h"
#include "plugins/win/encoder_runner.h"
#include "plugins/win/plugin_state.h"

void EncodeWithRealVideo(HWND mainWindow) {
    if (RunRealVideoEncoder(mainWindow) != 1) {
        return;
    }
    char path[kPathLength];
    int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, encoderOutputName);
    if (length >= 0 && length < static_cast<int>(sizeof path)) {
        AddAttachment(path);
    }
}
