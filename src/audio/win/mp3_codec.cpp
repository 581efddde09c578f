#include "audio/win/mp3_codec.h"

#include <windows.h>

#include <cstdio>

#include "app/win/app_state.h"

int Mp3CodecPresent() {
    char path[kPathLength + 16];
    std::snprintf(path, sizeof path, "%skto2mp3.exe", programDirectory);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}
