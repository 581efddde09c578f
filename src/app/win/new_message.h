// File > New Message: asks about an unsent message, then empties the composer.
#pragma once

#include <windows.h>

void NewMessageCommand(HWND mainWindow);
