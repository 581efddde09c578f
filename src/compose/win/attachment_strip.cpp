#include "compose/win/attachment_strip.h"

namespace {
int usedSlots = 0;
}

int AttachmentCount() {
    return usedSlots;
}

void ClearAttachments() {
    usedSlots = 0;
}

LRESULT CALLBACK AttachStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(strip, message, wParam, lParam);
}
