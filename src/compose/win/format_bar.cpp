#include "compose/win/format_bar.h"

// The format bar's behaviour comes with the body editor's work.
void OnFormatBarCommand(HWND, int, int) {}
void UpdateFormatBar() {}
void ResetBodyFormat() {}
