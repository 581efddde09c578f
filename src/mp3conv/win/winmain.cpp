#include <windows.h>

#include "mp3conv/win/converter_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return RunConverter(instance, commandLine);
}
