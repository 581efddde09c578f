// Auto configuration: the sender's settings taken from other installed mail programs.
#pragma once

#include <windows.h>

// commandId is one of the steps 10060 to 10064.
void RunAutoConfiguration(HWND mainWindow, int commandId);
