#include "video/win/video_window.h"

// The capture window comes with its own work; until then the command does nothing.
void OpenVideoWindow(HWND) {}
