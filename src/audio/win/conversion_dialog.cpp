#include "audio/win/conversion_dialog.h"

#include <cstring>

#include "base/win/scoped_handles.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kBarMargin = 30;
constexpr int kFrameGap = 2;

struct ConversionDialog {
    ConversionJob* job;
    ConversionDialogLook look;
    HWND window;
    int cancelled;
    int failed;
    HPEN grayPen; // the pens and the brush belong to Begin, which runs the conversion
    HPEN whitePen;
    HBRUSH blueBrush;
};

ConversionDialog* StateOf(HWND dialog) {
    return reinterpret_cast<ConversionDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

const char* FileNameOf(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : "";
}

void ShowNames(HWND dialog, const ConversionDialog& state) {
    HGDIOBJ fixed = GetStockObject(SYSTEM_FIXED_FONT);
    const char* output = FileNameOf(state.job->destinationPath);
    SendDlgItemMessageA(dialog, IDC_CONVERT_INPUT, WM_SETFONT, reinterpret_cast<WPARAM>(fixed),
                        FALSE);
    if (state.look == ConversionDialogLook::MainProgram) {
        SendDlgItemMessageA(dialog, IDC_CONVERT_OUTPUT, WM_SETFONT, reinterpret_cast<WPARAM>(fixed),
                            FALSE);
        SetDlgItemTextA(dialog, IDC_CONVERT_INPUT, "tempwave.wav");
        SetDlgItemTextA(dialog, IDC_CONVERT_OUTPUT, output);
    } else {
        SetDlgItemTextA(dialog, IDC_CONVERT_INPUT, output);
    }
}

void DrawProgress(void* context, uint32_t done, uint32_t total, const char* title) {
    auto& state = *static_cast<ConversionDialog*>(context);
    if (title != nullptr) {
        SetWindowTextA(state.window, title);
    }
    RECT client;
    GetClientRect(state.window, &client);
    const bool converter = state.look == ConversionDialogLook::Converter;
    const int left = client.left + kBarMargin;
    const int right = client.right - kBarMargin;
    const int top = client.bottom / 2 - (converter ? 15 : 0);
    const int height = converter ? 20 : 10;
    const WindowDc windowDc(state.window);
    HDC dc = windowDc.get();
    if (dc == nullptr) {
        return;
    }
    // The frame: gray on the top and left, white on the right and bottom.
    MoveToEx(dc, left - kFrameGap, top + height + kFrameGap, nullptr);
    {
        const SelectedObject gray(dc, state.grayPen);
        LineTo(dc, left - kFrameGap, top - kFrameGap);
        LineTo(dc, right + kFrameGap, top - kFrameGap);
    }
    {
        const SelectedObject white(dc, state.whitePen);
        LineTo(dc, right + kFrameGap, top + height + kFrameGap);
        LineTo(dc, left - kFrameGap, top + height + kFrameGap);
    }
    if (total > 0 && right > left) {
        const int filled = static_cast<int>(static_cast<uint64_t>(right - left) * done / total);
        RECT bar = {left, top, left + filled, top + height};
        FillRect(dc, &bar, state.blueBrush);
    }
}

int PumpAndAsk(void* context) {
    auto& state = *static_cast<ConversionDialog*>(context);
    PumpDialogMessages(state.window);
    return state.cancelled;
}

void Begin(HWND dialog, ConversionDialog& state) {
    if (!OpenConversion(*state.job)) {
        state.failed = 1;
        PostMessageA(dialog, kConvertEndMessage, 0, 0);
        return;
    }
    const ScopedGdiObject<HPEN> grayPen(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
    const ScopedGdiObject<HPEN> whitePen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    const ScopedGdiObject<HBRUSH> blueBrush(CreateSolidBrush(RGB(0, 0, 255)));
    state.grayPen = grayPen.get();
    state.whitePen = whitePen.get();
    state.blueBrush = blueBrush.get();
    ConversionProgress progress = {&state, PumpAndAsk, DrawProgress};
    const ConversionResult result = RunConversionLoop(*state.job, progress);
    if (result == ConversionResult::Cancelled) {
        state.cancelled = 1;
    } else if (result == ConversionResult::Failed) {
        state.failed = 1;
    }
    PostMessageA(dialog, kConvertEndMessage, result == ConversionResult::Done ? 1 : 0, 0);
}

INT_PTR CALLBACK ConversionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<ConversionDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        state->window = dialog;
        state->cancelled = 0;
        state->failed = 0;
        ShowNames(dialog, *state);
        PostMessageA(dialog, kConvertBeginMessage, 0, 0);
        return TRUE;
    }
    case kConvertBeginMessage:
        Begin(dialog, *StateOf(dialog));
        return TRUE;
    case kConvertEndMessage: {
        ConversionDialog& state = *StateOf(dialog);
        CloseConversion(*state.job);
        EndDialog(dialog, !state.cancelled && !state.failed ? 1 : 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            StateOf(dialog)->cancelled = 1; // the running conversion notices at its next pump
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void PumpDialogMessages(HWND dialog) {
    MSG message;
    bool quit = false;
    WPARAM quitCode = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            quitCode = message.wParam;
            continue;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
}

int ConvertFile(HWND owner, ConversionJob& job, ConversionDialogLook look) {
    ConversionDialog state = {};
    state.job = &job;
    state.look = look;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "DLG_AACONVERT", owner,
                                     ConversionDialogProc, reinterpret_cast<LPARAM>(&state));
    return result == 1 ? 1 : 0;
}
