#include "plugins/win/realvideo_command.h"

// The encoder runners come with their own work; until then the command does nothing.
void EncodeWithRealVideo(HWND) {}
