#include "autoconfig/win/auto_config.h"

// Auto configuration comes with its own work; until then its steps do nothing.
void RunAutoConfiguration(HWND, int) {}
