#include "compose/win/picture_buttons.h"

#include "app/win/app_state.h"

void SubclassPictureButtons() {}

void SubclassLabelButton(HWND) {}

void ReleasePictureButtonImages() {}

void DrawOwnerDrawnControl(const DRAWITEMSTRUCT* item) {
    if (item->CtlType != ODT_BUTTON) {
        return;
    }
    RECT rect = item->rcItem;
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item->hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    char caption[64];
    GetWindowTextA(item->hwndItem, caption, sizeof caption);
    SetBkMode(item->hDC, TRANSPARENT);
    DrawTextA(item->hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
