#include "voice/win/recorder_window.h"

#include <cstdio>
#include <cstring>

#include "audio/wave_file.h"
#include "audio/win/gsm_compression.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "base/win/scoped_handles.h"
#include "compose/win/attachments.h"
#include "compose/win/skin_images.h"
#include "plugins/win/encoder_runner.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"
#include "resources/skin_ids.h"
#include "voice/recorder_animation.h"
#include "voice/recorder_controls.h"
#include "voice/recorder_display.h"
#include "voice/recorder_layout.h"
#include "voice/voice_file_names.h"
#include "voice/win/level_meter.h"
#include "voice/win/wave_devices.h"

namespace {

constexpr UINT kAnimationIntervalMs = 100;
// How long Attach and Cancel wait for the buffers a stopped recording still has to give back.
constexpr DWORD kDeviceDrainMs = 3000;

struct RecorderWindow {
    HINSTANCE instance; // the controls are made with it
    HWND window;
    HWND nameEdit;
    bool recordPressed;
    uint32_t recordLit; // odd: the Record key shows its lit image
    uint32_t playLit;
    LevelMeter meter;
    AnimationFrame shownFrame; // the animation frame on screen, drawn again after a repaint
};

RecorderEngine recorderEngine = {};
WaveDevices waveDevices = {};
RecorderWindow recorder = {};
// The animation's playing loop goes on where it stopped, for the life of the process.
RecorderAnimation animation = InitialRecorderAnimation();

void RedrawKeys() {
    for (int id : {IDC_RECORD_KEY, IDC_STOP_KEY, IDC_PLAY_KEY}) {
        InvalidateRect(GetDlgItem(recorder.window, id), nullptr, FALSE);
    }
}

void RedrawAll() {
    InvalidateRect(recorder.window, nullptr, FALSE);
    RedrawKeys();
}

void LightKeysFromState() {
    recorder.recordLit = recorderEngine.state == kRecorderRecording ? 1 : 0;
    recorder.playLit = recorderEngine.state == kRecorderPlaying ? 1 : 0;
    RedrawAll();
}

HWND CreateChild(HWND dialog, DWORD exStyle, const char* className, const char* text, DWORD style,
                 const RecorderRect& rect, int id) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.x, rect.y,
                           rect.width, rect.height, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), recorder.instance,
                           nullptr);
}

void CreateControls(HWND dialog) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(WindowDc(dialog).get(), &metrics);
    RECT client;
    GetClientRect(dialog, &client);
    const RecorderControlsLayout layout =
        LayoutRecorderControls(metrics.tmHeight, client.left, client.right, client.bottom);
    CreateChild(dialog, 0, "Button", "", BS_OWNERDRAW | BS_CENTER, layout.record, IDC_RECORD_KEY);
    CreateChild(dialog, 0, "Button", "", BS_OWNERDRAW, layout.stop, IDC_STOP_KEY);
    CreateChild(dialog, 0, "Button", "", BS_OWNERDRAW, layout.play, IDC_PLAY_KEY);
    // The label ends where the box begins, so that it never paints over the box's frame.
    RecorderRect label = layout.nameLabel;
    if (label.x + label.width > layout.nameEdit.x) {
        label.width = layout.nameEdit.x - label.x;
    }
    CreateChild(dialog, 0, "Static", "filename:", 0, label, -1);
    recorder.nameEdit =
        CreateChild(dialog, WS_EX_CLIENTEDGE, "edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                    layout.nameEdit, IDC_VOICE_FILE_NAME);
    SendMessageA(recorder.nameEdit, EM_LIMITTEXT, kVoiceNameEditLimit, 0);
}

VoiceNameRules NameRules() {
    return VoiceNameRules{pluginSettings.audioSelection, pluginSettings.customSlot,
                          customEncoder.customExtension};
}

void FillSuggestedName(HWND edit) {
    char name[kVoiceNameBufferSize];
    SuggestVoiceFileName(CountVoiceAttachments(attachmentTable), NameRules(), name, sizeof name);
    SetWindowTextA(edit, name);
}

// --- Drawing ---------------------------------------------------------------------------------

void FillArea(HDC dc, int left, int top, int right, int bottom, uint32_t colour) {
    if (right <= left || bottom <= top) {
        return;
    }
    RECT area = {left, top, right, bottom};
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

void DrawLines(HDC dc, const RecorderLine* lines, int count, uint32_t colour) {
    const ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selected(dc, pen.get());
    for (int i = 0; i < count; ++i) {
        MoveToEx(dc, lines[i].x1, lines[i].y1, nullptr);
        LineTo(dc, lines[i].x2, lines[i].y2);
    }
}

void DrawAnimationFrame(HDC dc, const AnimationFrame& frame) {
    if (frame.set == kAnimationStopped) {
        return;
    }
    const int set = frame.set == kAnimationRecording ? SKIN_SET_REC_ANIM : SKIN_SET_PLAY_ANIM;
    CopySkinImage(dc, set, frame.index, kAnimationX, kAnimationY, kAnimationSize, kAnimationSize);
}

void TextAt(HDC dc, int x, int y, const char* text, uint32_t colour) {
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

void DrawDisplay(HDC dc) {
    RECT client;
    GetClientRect(recorder.window, &client);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int charWidth = metrics.tmAveCharWidth;
    const RecorderDisplay& display = recorderEngine.display;
    const uint32_t state = recorderEngine.state;
    const BarLook look = RecorderBarLook(state, display, recorder.meter.meterAvailable != 0);
    const RecorderBar bar = RecorderBarArea(client.left, client.right);

    // While recording the bar belongs to the level meter, which draws it on its own timer.
    const int saved = SaveDC(dc);
    if (look == BarLook::Meter) {
        ExcludeClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    }
    FillArea(dc, client.left, client.top, client.right, client.bottom, kDisplayGray);
    RestoreDC(dc, saved);
    DrawAnimationFrame(dc, recorder.shownFrame);

    const RecorderDisplayTexts texts =
        BuildDisplayTexts(state, display, CaptureBytesPerSecond(recorderEngine),
                          pluginSettings.audioSelection, pluginSettings.mp3Quality);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kDisplayGray);
    TextAt(dc, client.right - 14 * charWidth, 25, texts.status, texts.statusColour);
    TextAt(dc, 2 * charWidth, 25, kTimeLabel, kDisplayWhite);
    TextAt(dc, 2 * charWidth, 47, kSizeLabel, kDisplayWhite);
    TextAt(dc, 9 * charWidth, 25, texts.time, kDisplayWhite);
    TextAt(dc, 9 * charWidth, 47, texts.size, kDisplayWhite);

    if (look == BarLook::Empty) {
        FillArea(dc, bar.left, bar.top, bar.right, bar.bottom, kDisplayLightGray);
    } else if (look == BarLook::Progress) {
        const int split = BarFillEnd(bar, display.position, display.maximum);
        FillArea(dc, bar.left, bar.top, split, bar.bottom, kDisplayBlack);
        FillArea(dc, split, bar.top, bar.right, bar.bottom, kDisplayLightGray);
    }
    const RecorderBarFrame frame = RecorderBarFrameLines(client.left, client.right);
    DrawLines(dc, frame.gray, 2, kDisplayGray);
    DrawLines(dc, frame.white, 2, kDisplayWhite);
}

void Paint(HWND dialog) {
    const PaintDc paint(dialog);
    DrawDisplay(paint.get());
}

void DrawKey(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    int set = -1;
    int index = 0;
    switch (item.CtlID) {
    case IDC_RECORD_KEY:
        if (pressed) {
            ++recorder.recordLit;
        }
        set = SKIN_SET_REC_KEY;
        index = recorder.recordLit & 1;
        break;
    case IDC_PLAY_KEY:
        if (pressed) {
            ++recorder.playLit;
        }
        set = SKIN_SET_PLAY_KEY;
        index = recorder.playLit & 1;
        break;
    case IDC_STOP_KEY:
        set = SKIN_SET_STOP_KEY;
        index = pressed ? 1 : 0;
        break;
    default:
        return;
    }
    CopySkinImage(item.hDC, set, index, item.rcItem.left, item.rcItem.top, kRecorderKeyWidth,
                  kRecorderKeyHeight);
}

void AnimationTick() {
    const AnimationFrame frame =
        NextAnimationFrame(animation, static_cast<int>(recorderEngine.state));
    if (frame.set == kAnimationStopped) {
        return;
    }
    recorder.shownFrame = frame;
    DrawAnimationFrame(WindowDc(recorder.window).get(), frame);
}

// --- Commands --------------------------------------------------------------------------------

void RunEngineStep(EngineStep step) {
    switch (step) {
    case EngineStep::StartRecording:
        StartRecording(recorderEngine);
        break;
    case EngineStep::StopRecording:
        StopRecording(recorderEngine);
        break;
    case EngineStep::StartPlayback:
        StartPlayback(recorderEngine);
        break;
    case EngineStep::StopPlayback:
        StopPlayback(recorderEngine, 1);
        break;
    case EngineStep::None:
        break;
    }
}

void OnKey(RecorderKey key) {
    if (key == RecorderKey::Record) {
        recorder.recordPressed = true;
    }
    const KeyAction action = DecideKeyAction(key, recorderEngine.state, recorder.recordPressed);
    if (action.ignored) {
        return;
    }
    SetWindowTextA(recorder.window, action.title);
    RunEngineStep(action.step);
    // A start that failed leaves the engine stopped, and the title says so.
    if (action.step == EngineStep::StartRecording || action.step == EngineStep::StartPlayback) {
        SetWindowTextA(recorder.window, TitleForState(recorderEngine.state));
    }
    LightKeysFromState();
}

// Lets a stopped recording take back the buffers the device still returns, so that the
// temporary file is complete and closed.
void DrainStoppedRecording() {
    const DWORD end = GetTickCount() + kDeviceDrainMs;
    while (recorderEngine.deviceOpen && recorderEngine.openDirection == WaveDirection::Input &&
           static_cast<int>(end - GetTickCount()) > 0) {
        MSG message;
        if (PeekMessageA(&message, recorder.window, MM_WIM_DATA, MM_WIM_DATA, PM_REMOVE)) {
            DispatchMessageA(&message);
        } else {
            Sleep(10);
        }
    }
}

void CloseRecorder() {
    recorder.recordLit = 0;
    KillTimer(recorder.window, IDT_RECORDER_ANIMATION);
    CloseLevelMeter(recorder.meter, recorder.window);
    ReleaseRecorder(recorderEngine);
    EndDialog(recorder.window, 0);
}

void AttachFromProgramDirectory(const char* name) {
    char path[kPathLength + kEncoderOutputNameLength];
    const int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, name);
    if (length > 0 && length < static_cast<int>(sizeof path)) {
        AddAttachment(path);
    }
}

// No compression: the recording itself, under the chosen name.
void AttachUncompressed(const char* name) {
    char source[kPathLength + 16];
    char path[kPathLength + kVoiceNameBufferSize];
    std::snprintf(source, sizeof source, "%s%s", programDirectory, kRecordedWaveName);
    const int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, name);
    if (length <= 0 || length >= static_cast<int>(sizeof path)) {
        return;
    }
    // Under its own name the recording is attached as it is.
    if (lstrcmpiA(name, kRecordedWaveName) != 0) {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA(path);
        }
        MoveFileA(source, path);
    }
    AddAttachment(path);
}

void EncodeAndAttach(const char* name) {
    switch (pluginSettings.audioSelection) {
    case kAudioGsm:
        if (CompressToGsm(recorder.window, name) == 1) {
            AttachFromProgramDirectory(name);
        }
        break;
    case kAudioMp3:
        CopyField(encoderOutputName, sizeof encoderOutputName, name);
        if (RunMp3Encoder(recorder.window) == 1) {
            AttachFromProgramDirectory(encoderOutputName);
        }
        break;
    case kAudioUncompressed:
        AttachUncompressed(name);
        break;
    case kAudioCustom:
        CopyField(encoderOutputName, sizeof encoderOutputName, name);
        if ((pluginSettings.customSlot == 0 || pluginSettings.customSlot == 1) &&
            RunCustomEncoder(recorder.window) == 1) {
            AttachFromProgramDirectory(encoderOutputName);
        }
        break;
    default:
        break;
    }
}

void OnAttach() {
    switch (DecideAttachAction(recorderEngine.state, recorder.recordPressed)) {
    case AttachAction::Close:
        CloseRecorder();
        return;
    case AttachAction::StopAndStay:
        StopRecording(recorderEngine);
        SetWindowTextA(recorder.window, kIdleTitle);
        recorder.recordLit = 0;
        RedrawAll();
        return;
    case AttachAction::Attach:
        break;
    }
    if (recorderEngine.state == kRecorderPlaying) {
        StopPlayback(recorderEngine, 1);
        recorder.playLit = 0;
    }
    char name[kVoiceNameBufferSize] = {};
    GetWindowTextA(recorder.nameEdit, name, sizeof name);
    if (!ValidateVoiceFileName(name, NameRules())) {
        ShowMessageBox(recorder.window, kInvalidVoiceNameText, kInvalidVoiceNameCaption,
                       MB_OK | MB_ICONSTOP);
        SetFocus(recorder.nameEdit);
        return;
    }
    DrainStoppedRecording();
    RecordedWave recorded = {};
    recorded.captureFormat = recorderEngine.captureFormat;
    recorded.captureFormatSize = recorderEngine.captureFormatSize;
    recorded.recordedLength = recorderEngine.recordedLength;
    recorded.capturePath = recorderEngine.tempPath;
    WaveMessage message = {};
    const int written = WriteRecordedWave(recorded, programDirectory, message);
    if (message.caption != nullptr) {
        ShowMessageBox(recorder.window, message.text, message.caption, MB_OK);
    }
    ReleaseRecorder(recorderEngine);
    // Only this take is attached: after "No recorded wave data to save." or a failed write
    // there is nothing to attach, whatever an older tempwave.wav holds.
    if (written == 0 && recorded.recordedLength != 0) {
        EncodeAndAttach(name);
    }
    CloseRecorder();
}

void OnCancel() {
    if (DecideCancelAction(recorderEngine.state) == CancelAction::StopAndStay) {
        StopRecording(recorderEngine);
        SetWindowTextA(recorder.window, kIdleTitle);
        recorder.recordLit = 0;
        RedrawAll();
        return;
    }
    if (recorderEngine.state == kRecorderPlaying) {
        StopPlayback(recorderEngine, 1);
        recorder.playLit = 0;
    }
    DrainStoppedRecording();
    CloseRecorder();
}

void OnInitDialog(HWND dialog, HINSTANCE instance) {
    recorder = RecorderWindow{};
    recorder.instance = instance;
    recorder.window = dialog;
    const int loop = animation.loop;
    animation = InitialRecorderAnimation();
    animation.loop = loop;

    OpenLevelMeter(recorder.meter, dialog);
    LoadPluginSettings();
    SetTimer(dialog, IDT_RECORDER_ANIMATION, kAnimationIntervalMs, nullptr);
    CreateControls(dialog);
    SetWindowTextA(dialog, kIdleTitle);

    recorderEngine = RecorderEngine{};
    AttachWaveDevices(recorderEngine, waveDevices, dialog);
    if (PrepareRecorder(recorderEngine, pluginSettings, programDirectory) == 0) {
        recorderEngine.display = RecorderDisplay{};
        recorder.recordPressed = false;
        FillSuggestedName(recorder.nameEdit);
    } else {
        ReleaseRecorder(recorderEngine);
        ShowMessageBox(dialog, kDeviceNotReadyText, kDeviceNotReadyCaption,
                       MB_OK | MB_ICONEXCLAMATION);
    }
}

INT_PTR CALLBACK RecorderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<HINSTANCE>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    case WM_DRAWITEM:
        DrawKey(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        // The "filename:" label sits on the display: white on its gray, like TIME and SIZE.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kDisplayWhite);
        SetBkColor(dc, kDisplayGray);
        return reinterpret_cast<INT_PTR>(GetStockObject(GRAY_BRUSH)); // 0x808080
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RECORD_KEY:
            OnKey(RecorderKey::Record);
            return TRUE;
        case IDC_STOP_KEY:
            OnKey(RecorderKey::Stop);
            return TRUE;
        case IDC_PLAY_KEY:
            OnKey(RecorderKey::Play);
            return TRUE;
        case IDOK:
            OnAttach();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
        break;
    case WM_TIMER:
        switch (wParam) {
        case kRecordPositionTimer:
            UpdateRecordPosition(recorderEngine);
            return TRUE;
        case kPlayPositionTimer:
            UpdatePlayPosition(recorderEngine);
            return TRUE;
        case IDT_RECORDER_ANIMATION:
            AnimationTick();
            return TRUE;
        case IDT_LEVEL_METER:
            if (recorderEngine.state == kRecorderRecording) {
                ShowMicrophoneLevel(recorder.meter, dialog);
            }
            return TRUE;
        }
        break;
    case MM_WIM_DATA:
        if (reinterpret_cast<HWAVEIN>(wParam) == waveDevices.input && waveDevices.input) {
            const auto* header = reinterpret_cast<const WAVEHDR*>(lParam);
            OnInputBufferDone(recorderEngine, HeaderIndex(waveDevices, lParam),
                              header->dwBytesRecorded);
        }
        return TRUE;
    case MM_WOM_DONE:
        if (reinterpret_cast<HWAVEOUT>(wParam) == waveDevices.output && waveDevices.output) {
            OnOutputBufferDone(recorderEngine, HeaderIndex(waveDevices, lParam));
        }
        return TRUE;
    case MM_WOM_CLOSE:
        if (reinterpret_cast<HWAVEOUT>(wParam) == waveDevices.output && waveDevices.output) {
            OnOutputDeviceClosed(recorderEngine);
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

void OpenVoiceRecorder(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, "SOUNDBOX", owner, RecorderProc, reinterpret_cast<LPARAM>(instance));
}
