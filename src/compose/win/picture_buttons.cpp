#include "compose/win/picture_buttons.h"

#include "compose/win/format_bar.h"

#include "base/win/scoped_handles.h"
#include "compose/button_images.h"
#include "compose/win/compose_windows.h"
#include "compose/win/skin_images.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"

PictureButtonState pictureButtonState = {};

namespace {

constexpr int kToolbarButtons = 5; // Send ... Cancel; the logo has no hover tracking
constexpr int kLabels = 5;

// The faces of the toolbar buttons from IDC_SEND_BUTTON on and of the labels from
// IDC_FROM_LABEL on.
constexpr PictureButton kToolbarFaces[kToolbarButtons] = {
    PictureButton::Send, PictureButton::Attach, PictureButton::Voice, PictureButton::Video,
    PictureButton::Cancel};
constexpr PictureButton kLabelFaces[kLabels] = {PictureButton::FromLabel, PictureButton::ToLabel,
                                                PictureButton::CcLabel, PictureButton::BccLabel,
                                                PictureButton::SubjectLabel};

WNDPROC previousToolbarProcs[6] = {};
WNDPROC previousLabelProcs[kLabels] = {};

// What the hover procedure of one button works on.
struct HoverTarget {
    PictureButton button;
    int* hover;
    int* pressed;
    WNDPROC previous;
    int toolbarIndex;    // 0 .. 4, or -1 for a label
    int labelIndex;      // 0 .. 4, or -1 for a toolbar button
    bool copiesToScreen; // Attach, Voice and Video paint their face straight away
};

bool FindHoverTarget(HWND button, HoverTarget& target) {
    const int id = GetDlgCtrlID(button);
    if (id >= IDC_SEND_BUTTON && id < IDC_SEND_BUTTON + kToolbarButtons) {
        const int i = id - IDC_SEND_BUTTON;
        target = {kToolbarFaces[i],
                  &pictureButtonState.hoverFlags[i],
                  &pictureButtonState.pressedFlags[i],
                  previousToolbarProcs[i],
                  i,
                  -1,
                  i >= 1 && i <= 3};
        return true;
    }
    if (id >= IDC_FROM_LABEL && id < IDC_FROM_LABEL + kLabels) {
        const int i = id - IDC_FROM_LABEL;
        target = {kLabelFaces[i],
                  &pictureButtonState.labelHoverFlags[i],
                  &pictureButtonState.labelPressed,
                  previousLabelProcs[i],
                  -1,
                  i,
                  false};
        return true;
    }
    return false;
}

bool PointerInside(HWND window, const POINT& pointer) {
    RECT rect;
    GetWindowRect(window, &rect);
    return PtInRect(&rect, pointer) != FALSE;
}

// Inside the button's screen rectangle and not covered by another window.
bool PointerOver(HWND button) {
    POINT pointer;
    GetCursorPos(&pointer);
    return PointerInside(button, pointer) && WindowFromPoint(pointer) == button;
}

// A button held down shows its pressed face, also while the pointer is dragged off it (the
// button itself then looks released until the pointer comes back).
bool HeldDown(HWND button, int pressedFlag) {
    return pressedFlag && GetCapture() == button;
}

void CopyFaceToScreen(HWND button, const HoverTarget& target) {
    ButtonLook look = {true, *target.pressed != 0, sendState, 0};
    RECT rect;
    GetClientRect(button, &rect);
    CopySkinImage(WindowDc(button).get(), SkinSetOfButton(target.button),
                  ButtonImageIndex(target.button, look), 0, 0, rect.right, rect.bottom);
}

void ShowHoverFace(HWND button, const HoverTarget& target) {
    if (target.copiesToScreen) {
        CopyFaceToScreen(button, target);
    } else {
        InvalidateRect(button, nullptr, FALSE);
    }
}

// Only one button of a group looks hovered: entering one clears the others.
void ClearOtherHoverFlags(const HoverTarget& target) {
    if (target.toolbarIndex >= 0) {
        for (int i = 0; i < kToolbarButtons; ++i) {
            if (i != target.toolbarIndex && pictureButtonState.hoverFlags[i]) {
                pictureButtonState.hoverFlags[i] = 0;
                InvalidateRect(composeWindows.toolbarButtons[i], nullptr, FALSE);
            }
        }
        return;
    }
    for (int i = 0; i < kLabels; ++i) {
        int& flag = pictureButtonState.labelHoverFlags[i];
        if (i != target.labelIndex && flag) {
            flag = 0;
            if (composeWindows.addressPanel) {
                InvalidateRect(GetDlgItem(composeWindows.addressPanel, IDC_FROM_LABEL + i), nullptr,
                               FALSE);
            }
        }
    }
}

void EndHover(HWND button) {
    KillTimer(button, kHoverTimerId);
    PostMessageA(button, WM_COMMAND, kEndHoverCommand, 0);
}

void OnHoverTimer(HWND button, const HoverTarget& target) {
    if (*target.pressed && GetCapture() != button) {
        *target.pressed = 0; // the release went elsewhere (a window took the capture)
    }
    const bool pressed = *target.pressed != 0;
    if (PointerOver(button)) {
        if (target.copiesToScreen) {
            CopyFaceToScreen(button, target);
        } else if (pressed) {
            InvalidateRect(button, nullptr, FALSE);
        }
    } else if (pressed) {
        ShowHoverFace(button, target); // keeps the pressed face until the release
    } else {
        EndHover(button);
    }
}

LRESULT CALLBACK HoverButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    HoverTarget target;
    if (!FindHoverTarget(button, target)) {
        return DefWindowProcA(button, message, wParam, lParam);
    }
    switch (message) {
    case WM_MOUSEMOVE: {
        const LRESULT result = CallWindowProcA(target.previous, button, message, wParam, lParam);
        if (!*target.hover) {
            *target.hover = 1;
            ClearOtherHoverFlags(target);
            SetTimer(button, kHoverTimerId, kHoverTimerPeriodMs, nullptr);
        }
        ShowHoverFace(button, target);
        return result;
    }
    case WM_LBUTTONDOWN: {
        const LRESULT result = CallWindowProcA(target.previous, button, message, wParam, lParam);
        POINT pointer;
        GetCursorPos(&pointer);
        if (PointerInside(button, pointer) || WindowFromPoint(pointer) == button) {
            *target.pressed = 1;
        }
        return result;
    }
    case WM_LBUTTONUP: {
        // Cleared first: the click may open a modal window before the call returns.
        *target.pressed = 0;
        const LRESULT result = CallWindowProcA(target.previous, button, message, wParam, lParam);
        if (PointerOver(button)) {
            InvalidateRect(button, nullptr, FALSE);
        } else {
            EndHover(button);
        }
        return result;
    }
    case WM_TIMER:
        if (wParam == kHoverTimerId) {
            OnHoverTimer(button, target);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kEndHoverCommand) {
            *target.hover = 0;
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        }
        break;
    }
    return CallWindowProcA(target.previous, button, message, wParam, lParam);
}

void ShowLogoFrame(HWND logo, int frame) {
    CopySkinImage(WindowDc(logo).get(), SkinSetOfButton(PictureButton::Logo), frame, 0, 0, 55, 40);
}

LRESULT CALLBACK LogoProc(HWND logo, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_START_SEND_ANIMATION) {
            StartLogoAnimation(pictureButtonState.logo);
            SetTimer(logo, kLogoTimerId, kLogoAnimationPeriodMs, nullptr);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kLogoTimerId) {
            ShowLogoFrame(logo, StepLogoAnimation(pictureButtonState.logo, sendState));
            if (!pictureButtonState.logo.running) {
                KillTimer(logo, kLogoTimerId);
            }
            return 0;
        }
        break;
    }
    return CallWindowProcA(previousToolbarProcs[5], logo, message, wParam, lParam);
}

// Without its picture a button still shows as a push button with its caption.
void DrawPlainButton(const DRAWITEMSTRUCT* item, bool pressed) {
    RECT rect = item->rcItem;
    DrawFrameControl(item->hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    char caption[64];
    GetWindowTextA(item->hwndItem, caption, sizeof caption);
    SetBkMode(item->hDC, TRANSPARENT);
    DrawTextA(item->hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool FindDrawnButton(const DRAWITEMSTRUCT* item, PictureButton& button, ButtonLook& look) {
    const int id = static_cast<int>(item->CtlID);
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    look = {false, selected, sendState, 0};
    if (id >= IDC_SEND_BUTTON && id < IDC_SEND_BUTTON + kToolbarButtons) {
        const int i = id - IDC_SEND_BUTTON;
        button = kToolbarFaces[i];
        look.hover = pictureButtonState.hoverFlags[i] != 0;
        look.pressed = selected || HeldDown(item->hwndItem, pictureButtonState.pressedFlags[i]);
        return true;
    }
    if (id == IDC_LOGO_BUTTON) {
        button = PictureButton::Logo;
        return true;
    }
    if (id >= IDC_FROM_LABEL && id < IDC_FROM_LABEL + kLabels) {
        const int i = id - IDC_FROM_LABEL;
        button = kLabelFaces[i];
        look.hover = pictureButtonState.labelHoverFlags[i] != 0;
        look.pressed = selected || HeldDown(item->hwndItem, pictureButtonState.labelPressed);
        return true;
    }
    if (id >= IDC_BOLD_BUTTON && id <= IDC_UNDERLINE_BUTTON) {
        static const PictureButton kButtons[3] = {PictureButton::Bold, PictureButton::Italic,
                                                  PictureButton::Underline};
        const int i = id - IDC_BOLD_BUTTON;
        button = kButtons[i];
        look.toggleCounter = FormatToggleOn(id) ? 1 : 0; // the format bar keeps the state
        return true;
    }
    return false;
}

} // namespace

void SubclassPictureButtons() {
    for (int i = 0; i < 6; ++i) {
        HWND button = composeWindows.toolbarButtons[i];
        if (!button) {
            continue;
        }
        WNDPROC procedure = i < kToolbarButtons ? HoverButtonProc : LogoProc;
        previousToolbarProcs[i] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    }
}

void SubclassLabelButton(HWND label) {
    const int i = GetDlgCtrlID(label) - IDC_FROM_LABEL;
    if (!label || i < 0 || i >= kLabels) {
        return;
    }
    previousLabelProcs[i] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HoverButtonProc)));
}

void DrawOwnerDrawnControl(const DRAWITEMSTRUCT* item) {
    if (item->CtlType != ODT_BUTTON) {
        return;
    }
    PictureButton button;
    ButtonLook look;
    if (!FindDrawnButton(item, button, look)) {
        DrawPlainButton(item, (item->itemState & ODS_SELECTED) != 0);
        return;
    }
    const int set = SkinSetOfButton(button);
    const int index = ButtonImageIndex(button, look);
    if (!SkinImage(set, index)) {
        DrawPlainButton(item, look.pressed);
        return;
    }
    const RECT& r = item->rcItem;
    CopySkinImage(item->hDC, set, index, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void ReleasePictureButtonImages() {
    DeleteSkinImages();
    pictureButtonState = PictureButtonState{};
}
