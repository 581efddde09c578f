#include <windows.h>

#include "app/win/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return RunKestro(instance, showCommand);
}
