#include "video/win/video_window.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "compose/win/attachments.h"
#include "compose/win/skin_images.h"
#include "plugins/win/plugin_state.h"
#include "print/size_texts.h"
#include "resources/resource_ids.h"
#include "resources/skin_ids.h"
#include "video/capture_state.h"
#include "video/snapshot_jpeg.h"
#include "video/video_attach_rules.h"
#include "video/video_layout.h"
#include "video/video_names.h"
#include "video/win/capture_window.h"
#include "video/win/video_attach.h"

namespace {

constexpr char kNoDeviceCaption[] = "Video Recording";
constexpr char kNoDeviceText[] =
    "The specified Video Device was not Detected.\n\n1.  Check the connections to the Video "
    "Device\n2.  Check Options->Video Driver for the correct Video Driver";
constexpr UINT kHoverMs = 50;
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Format, Source and Codec: the buttons that follow the pointer.
constexpr int kSettingsButtons = 3;
constexpr int kSettingsButtonIds[kSettingsButtons] = {IDC_VIDEO_FORMAT, IDC_VIDEO_SOURCE,
                                                      IDC_VIDEO_CODEC};
constexpr int kSettingsButtonSets[kSettingsButtons] = {SKIN_SET_FORMAT, SKIN_SET_SOURCE,
                                                       SKIN_SET_CODEC};

struct VideoWindow {
    VideoWindowContext context;
    HWND dialog;
    HWND capture;
    HWND nameEdit;
    CAPDRIVERCAPS caps;
    CAPSTATUS status;
    int driversFound;
    int connectedIndex;
    int videoWidth; // the picture size the layout was made for
    int videoHeight;
    bool resizePending;
    int hover[kSettingsButtons];
    int pressed[kSettingsButtons];
    WNDPROC buttonProcs[kSettingsButtons];
};

VideoWindow video = {};
// Survives the window: Cancel deletes the capture file only after a recording, and only a video
// Attach ends that.
VideoCaptureState captureState = {};

LRESULT SendCapture(UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(video.capture) ? SendMessageA(video.capture, message, wParam, lParam) : 0;
}

std::string ProgramFile(const char* name) {
    return std::string(video.context.programDirectory) + name;
}

// --- Callbacks of the capture window ---------------------------------------------------------

LRESULT CALLBACK OnCaptureStatus(HWND, int id, LPCSTR text) {
    const StatusReaction reaction = OnCaptureStatus(captureState, id, text);
    if (reaction.caption != nullptr) {
        SetWindowTextA(video.dialog, reaction.caption);
    }
    if (reaction.repaint) {
        InvalidateRect(video.dialog, nullptr, FALSE);
    }
    return TRUE;
}

// While recording, the window's messages are handled here; a click or key ends the recording.
LRESULT CALLBACK OnCaptureControl(HWND, int state) {
    if (state != CONTROLCALLBACK_CAPTURING) {
        return TRUE;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_COMMAND:
        case WM_KEYDOWN:
            return FALSE;
        default:
            DispatchMessageA(&message);
        }
    }
    return TRUE;
}

// --- Controls ----------------------------------------------------------------------------------

HWND CreateChild(DWORD exStyle, const char* className, const char* text, DWORD style,
                 const VideoRect& rect, int id) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.x,
                                 rect.y, rect.width, rect.height, video.dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 video.context.instance, nullptr);
    SendMessageA(child, WM_SETFONT, SendMessageA(video.dialog, WM_GETFONT, 0, 0), FALSE);
    return child;
}

// The "filename:" label ends where the name box begins, so that it never covers its frame.
VideoRect LabelRect(const VideoLayout& layout) {
    VideoRect label = layout.nameLabel;
    if (label.x + label.width > layout.nameEdit.x) {
        label.width = layout.nameEdit.x - label.x;
    }
    return label;
}

void CreateControls() {
    RECT client;
    GetClientRect(video.dialog, &client);
    VideoLayout layout = LayoutVideoWindow(160, 120, client.right);
    layout.attach.height = 30;
    layout.cancel.height = 30;
    const DWORD ownerDrawn = BS_CENTER | BS_OWNERDRAW;
    CreateChild(0, "Button", "Format", ownerDrawn, layout.format, IDC_VIDEO_FORMAT);
    CreateChild(0, "Button", "Source", ownerDrawn, layout.source, IDC_VIDEO_SOURCE);
    CreateChild(0, "Button", "Codec", ownerDrawn, layout.codec, IDC_VIDEO_CODEC);
    const VideoRect capture = InitialCaptureRect(client.right);
    video.capture =
        CreateCaptureWindow(video.context.instance, "Capture Window", WS_CHILD | WS_VISIBLE,
                            capture.x, capture.y, capture.width, capture.height, video.dialog, 0);
    CreateChild(0, "Button", "Picture", ownerDrawn, layout.picture, IDC_VIDEO_PICTURE);
    CreateChild(0, "Button", "ReC", ownerDrawn, layout.record, IDC_VIDEO_RECORD);
    CreateChild(0, "Button", "sTOp", ownerDrawn, layout.stop, IDC_VIDEO_STOP);
    CreateChild(0, "Button", "Attach", WS_TABSTOP | BS_CENTER, layout.attach, IDC_VIDEO_ATTACH);
    CreateChild(0, "Button", "Cancel", WS_TABSTOP | BS_CENTER, layout.cancel, IDC_VIDEO_CANCEL);
    CreateChild(0, "Static", "filename:", 0, LabelRect(layout), -1);
    video.nameEdit =
        CreateChild(WS_EX_CLIENTEDGE, "edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                    layout.nameEdit, IDC_VIDEO_FILE_NAME);
}

// The pointer is over the button and no other window covers it there.
bool PointerOver(HWND button) {
    POINT pointer;
    GetCursorPos(&pointer);
    RECT rect;
    GetWindowRect(button, &rect);
    return PtInRect(&rect, pointer) && WindowFromPoint(pointer) == button;
}

void BlitSettingsButton(HWND button, int index) {
    const WindowDc dc(button);
    if (dc.get() != nullptr) {
        CopySkinImage(dc.get(), kSettingsButtonSets[index], video.pressed[index] ? 1 : 2, 0, 0,
                      SKIN_FORMAT_CX, SKIN_FORMAT_CY);
    }
}

int SettingsButtonIndex(HWND button) {
    for (int i = 0; i < kSettingsButtons; ++i) {
        if (GetDlgCtrlID(button) == kSettingsButtonIds[i]) {
            return i;
        }
    }
    return -1;
}

LRESULT CALLBACK SettingsButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const int i = SettingsButtonIndex(button);
    if (i < 0) {
        return DefWindowProcA(button, message, wParam, lParam);
    }
    switch (message) {
    case WM_MOUSEMOVE:
        if (!video.hover[i]) {
            video.hover[i] = 1;
            for (int other = 0; other < kSettingsButtons; ++other) {
                if (other != i && video.hover[other]) {
                    video.hover[other] = 0;
                    InvalidateRect(GetDlgItem(video.dialog, kSettingsButtonIds[other]), nullptr,
                                   FALSE);
                }
            }
            SetTimer(button, IDT_VIDEO_HOVER, kHoverMs, nullptr);
        }
        if (PointerOver(button)) {
            BlitSettingsButton(button, i);
        }
        break;
    case WM_LBUTTONDOWN:
        video.pressed[i] = 1;
        break;
    case WM_LBUTTONUP:
        video.pressed[i] = 0;
        if (!PointerOver(button)) {
            KillTimer(button, IDT_VIDEO_HOVER);
            PostMessageA(button, WM_COMMAND, IDM_VIDEO_HOVER_END, 0);
        }
        break;
    case WM_TIMER:
        if (wParam != IDT_VIDEO_HOVER) {
            break;
        }
        if (PointerOver(button) || video.pressed[i]) {
            if (video.pressed[i]) {
                InvalidateRect(button, nullptr, FALSE);
            }
        } else {
            KillTimer(button, IDT_VIDEO_HOVER);
            PostMessageA(button, WM_COMMAND, IDM_VIDEO_HOVER_END, 0);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_VIDEO_HOVER_END) {
            video.hover[i] = 0;
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(video.buttonProcs[i], button, message, wParam, lParam);
}

void SubclassSettingsButtons() {
    for (int i = 0; i < kSettingsButtons; ++i) {
        HWND button = GetDlgItem(video.dialog, kSettingsButtonIds[i]);
        video.buttonProcs[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SettingsButtonProc)));
    }
}

// --- Layout and drawing ------------------------------------------------------------------------

void AskForLayout() {
    video.resizePending = true;
    PostMessageA(video.dialog, WM_SIZE, 0,
                 MAKELPARAM(video.status.uiImageWidth, video.status.uiImageHeight));
}

void MoveControl(int id, const VideoRect& rect) {
    MoveWindow(GetDlgItem(video.dialog, id), rect.x, rect.y, rect.width, rect.height, TRUE);
}

// The window keeps its place, but never leaves its caption above or beside the work area.
void KeepOnScreen() {
    RECT window;
    RECT work;
    GetWindowRect(video.dialog, &window);
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        return;
    }
    int x = window.left;
    int y = window.top;
    x = x + (window.right - window.left) > work.right ? work.right - (window.right - window.left)
                                                      : x;
    y = y + (window.bottom - window.top) > work.bottom ? work.bottom - (window.bottom - window.top)
                                                       : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    if (x != window.left || y != window.top) {
        SetWindowPos(video.dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void LayOut(int videoWidth, int videoHeight) {
    video.videoWidth = videoWidth;
    video.videoHeight = videoHeight;
    const VideoRect size = VideoWindowSize(videoWidth, videoHeight);
    SetWindowPos(video.dialog, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    KeepOnScreen();
    RECT client;
    GetClientRect(video.dialog, &client);
    const VideoLayout layout = LayoutVideoWindow(videoWidth, videoHeight, client.right);
    MoveControl(IDC_VIDEO_FORMAT, layout.format);
    MoveControl(IDC_VIDEO_SOURCE, layout.source);
    MoveControl(IDC_VIDEO_CODEC, layout.codec);
    MoveWindow(video.capture, layout.capture.x, layout.capture.y, layout.capture.width,
               layout.capture.height, TRUE);
    MoveControl(IDC_VIDEO_PICTURE, layout.picture);
    MoveControl(IDC_VIDEO_RECORD, layout.record);
    MoveControl(IDC_VIDEO_STOP, layout.stop);
    MoveControl(IDC_VIDEO_ATTACH, layout.attach);
    MoveControl(IDC_VIDEO_CANCEL, layout.cancel);
    MoveControl(-1, LabelRect(layout));
    MoveControl(IDC_VIDEO_FILE_NAME, layout.nameEdit);
    InvalidateRect(video.dialog, nullptr, TRUE);
}

void TextAt(HDC dc, int x, int y, const char* text, COLORREF colour) {
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

void Paint() {
    const PaintDc paint(video.dialog);
    const HDC dc = paint.get();
    RECT client;
    GetClientRect(video.dialog, &client);
    const VideoBands bands = VideoGreyBands(client.right, client.bottom);
    for (const VideoRect& band : {bands.upper, bands.lower}) {
        RECT area = {band.x, band.y, band.x + band.width, band.y + band.height};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    const VideoLayout layout = LayoutVideoWindow(video.videoWidth, video.videoHeight, client.right);
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, kGrey);
    const SelectedObject font(dc, video.context.uiFont);
    const StateWord word = StateWordFor(captureState.displayState);
    TextAt(dc, layout.stateWord.x, layout.stateWord.y, word.text, word.colour);
    char duration[kSizeTextLength] = "";
    FormatDurationSeconds(captureState.capturedSeconds, duration);
    TextAt(dc, layout.duration.x, layout.duration.y, duration, RGB(255, 255, 255));
}

// The state word at once, on an opaque grey background, before a long call keeps the window
// from painting.
void ShowStateWordNow(const char* text, COLORREF colour, HFONT font) {
    const WindowDc window(video.dialog);
    const HDC dc = window.get();
    if (dc == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(video.dialog, &client);
    const VideoLayout layout = LayoutVideoWindow(video.videoWidth, video.videoHeight, client.right);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kGrey);
    const SelectedObject selection(dc, font); // none: the context's default font
    TextAt(dc, layout.stateWord.x, layout.stateWord.y, text, colour);
}

void DrawButton(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    int set = -1;
    int index = selected ? 1 : 0;
    int width = SKIN_PICTURE_CX;
    int height = SKIN_PICTURE_CY;
    switch (item.CtlID) {
    case IDC_VIDEO_PICTURE:
        set = SKIN_SET_PICTURE;
        break;
    case IDC_VIDEO_RECORD:
        set = SKIN_SET_RECORD;
        break;
    case IDC_VIDEO_STOP:
        set = SKIN_SET_STOP;
        break;
    default:
        for (int i = 0; i < kSettingsButtons; ++i) {
            if (static_cast<int>(item.CtlID) == kSettingsButtonIds[i]) {
                set = kSettingsButtonSets[i];
                index = selected ? 1 : (video.hover[i] ? 2 : 0);
            }
        }
        // A driver without the Format or Source dialog shows those buttons unavailable.
        if ((item.CtlID == IDC_VIDEO_FORMAT && !video.caps.fHasDlgVideoFormat) ||
            (item.CtlID == IDC_VIDEO_SOURCE && !video.caps.fHasDlgVideoSource)) {
            index = 3;
        }
        width = SKIN_FORMAT_CX;
        height = SKIN_FORMAT_CY;
        break;
    }
    if (set >= 0) {
        CopySkinImage(item.hDC, set, index, item.rcItem.left, item.rcItem.top, width, height);
    }
}

// --- Opening -----------------------------------------------------------------------------------

void ConnectFirstDriver() {
    for (int index = video.context.videoIndex; index < kCaptureDriverSlots; ++index) {
        char name[256];
        char version[256];
        if (!CaptureDriverDescription(index, name, sizeof name, version, sizeof version)) {
            continue;
        }
        if (++video.driversFound == 1 && SendCapture(WM_CAP_DRIVER_CONNECT, index, 0)) {
            video.connectedIndex = index;
        }
    }
}

void SetUpRecording() {
    SendCapture(WM_CAP_SET_PREVIEWRATE, 33, 0);
    SendCapture(WM_CAP_SET_PREVIEW, TRUE, 0);
    CAPTUREPARMS parms = {};
    SendCapture(WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
    parms.dwRequestMicroSecPerFrame = 100000; // 10 frames a second
    parms.wNumVideoRequested = 1000;
    parms.fCaptureAudio = TRUE;
    parms.wNumAudioRequested = 10;
    parms.vKeyAbort = VK_ESCAPE;
    parms.fAbortLeftMouse = TRUE;
    parms.fAbortRightMouse = TRUE;
    parms.wStepCaptureAverageFrames = 5;
    parms.AVStreamMaster = AVSTREAMMASTER_AUDIO;
    SendCapture(WM_CAP_SET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
    WAVEFORMATEX sound = {};
    sound.wFormatTag = WAVE_FORMAT_PCM;
    sound.nChannels = 1;
    sound.nSamplesPerSec = 8000;
    sound.nAvgBytesPerSec = 8000;
    sound.nBlockAlign = 1;
    sound.wBitsPerSample = 8;
    SendCapture(WM_CAP_SET_AUDIOFORMAT, sizeof sound, reinterpret_cast<LPARAM>(&sound));
}

void OnInitDialog(HWND dialog, const VideoWindowContext& context) {
    video = VideoWindow{};
    video.context = context;
    video.dialog = dialog;
    ResetForOpening(captureState);
    LoadPluginSettings();
    DeleteFileA(ProgramFile(kCaptureFileName).c_str());
    CreateControls();
    SendCapture(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(OnCaptureStatus));
    SendCapture(WM_CAP_SET_CALLBACK_CAPCONTROL, 0, reinterpret_cast<LPARAM>(OnCaptureControl));
    ConnectFirstDriver();
    SendCapture(WM_CAP_DRIVER_GET_CAPS, sizeof video.caps, reinterpret_cast<LPARAM>(&video.caps));
    SendCapture(WM_CAP_GET_STATUS, sizeof video.status, reinterpret_cast<LPARAM>(&video.status));
    if (video.status.uiImageWidth == 0 && video.status.uiImageHeight == 0) {
        ShowMessageBox(dialog, kNoDeviceText, kNoDeviceCaption, MB_OK | MB_ICONEXCLAMATION);
        DestroyWindow(video.capture);
        video.capture = nullptr;
        EndDialog(dialog, 0);
        return;
    }
    AskForLayout();
    SetUpRecording();
    SubclassSettingsButtons();
    char name[kVideoNameBufferSize];
    DefaultVideoName(attachmentTable, pluginSettings.videoSelection, name, sizeof name);
    SetWindowTextA(video.nameEdit, name);
    SendMessageA(video.nameEdit, EM_LIMITTEXT, kVideoNameEditLimit, 0);
}

// --- Commands ----------------------------------------------------------------------------------

void OnRecord() {
    const std::string path = ProgramFile(kCaptureFileName);
    SendCapture(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str()));
    NoteRecordPressed(captureState);
    SendCapture(WM_CAP_SET_PREVIEW, TRUE, 0);
    ShowStateWordNow("RECORDING ", RGB(128, 0, 0), nullptr);
    SendCapture(WM_CAP_SEQUENCE, 0, 0); // returns when the recording has ended
}

void OnStop() {
    SendCapture(WM_CAP_STOP, 0, 0);
    SendCapture(WM_CAP_SET_PREVIEW, TRUE, 0);
    SetWindowTextA(video.dialog, kRecordVideoCaption);
    NoteStopPressed(captureState);
    InvalidateRect(video.dialog, nullptr, FALSE);
}

void OnPicture() {
    // The frame is grabbed as 24-bit uncompressed rows, which the snapshot conversion reads.
    const LRESULT size = SendCapture(WM_CAP_GET_VIDEOFORMAT, 0, 0);
    if (size >= static_cast<LRESULT>(sizeof(BITMAPINFOHEADER))) {
        std::vector<unsigned char> format(static_cast<size_t>(size), 0);
        SendCapture(WM_CAP_GET_VIDEOFORMAT, static_cast<WPARAM>(size),
                    reinterpret_cast<LPARAM>(format.data()));
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(format.data());
        header->biBitCount = 24;
        header->biCompression = BI_RGB;
        header->biSizeImage = 0;
        SendCapture(WM_CAP_SET_VIDEOFORMAT, static_cast<WPARAM>(size),
                    reinterpret_cast<LPARAM>(format.data()));
    }
    SendCapture(WM_CAP_SET_PREVIEW, FALSE, 0); // the grabbed frame stays in view
    SendCapture(WM_CAP_GRAB_FRAME_NOSTOP, 0, 0);
    const std::string path = ProgramFile(kSnapshotBmpName);
    DeleteFileA(path.c_str());
    const bool saved =
        SendCapture(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(path.c_str())) != 0;
    NotePictureTaken(captureState, saved);
    PlaySoundA("SNAPSHOT", video.context.instance, SND_RESOURCE | SND_ASYNC);
    ShowStateWordNow("SNAPSHOT", RGB(0, 255, 0), video.context.uiFont);
}

void OnFormat() {
    if (video.caps.fHasDlgVideoFormat && SendCapture(WM_CAP_DLG_VIDEOFORMAT, 0, 0)) {
        SendCapture(WM_CAP_GET_STATUS, sizeof video.status,
                    reinterpret_cast<LPARAM>(&video.status));
        AskForLayout();
    }
}

void OnCancel() {
    if (CancelDeletesCapture(captureState)) {
        DeleteFileA(ProgramFile(kCaptureFileName).c_str());
    }
    EndDialog(video.dialog, 0);
}

void OnAttach() {
    const VideoAttachTarget target = {video.dialog, video.nameEdit, video.context.mainWindow,
                                      video.context.programDirectory};
    bool stays = false;
    switch (ChooseAttach(captureState)) {
    case AttachChoice::Video:
        stays = AttachVideo(target, captureState);
        break;
    case AttachChoice::Snapshot:
        stays = AttachSnapshot(target);
        break;
    case AttachChoice::Nothing:
        break;
    }
    if (!stays) {
        EndDialog(video.dialog, 0);
    }
}

bool OnCommand(int id) {
    switch (id) {
    case IDC_VIDEO_RECORD:
        OnRecord();
        return true;
    case IDC_VIDEO_STOP:
        OnStop();
        return true;
    case IDC_VIDEO_PICTURE:
        OnPicture();
        return true;
    case IDC_VIDEO_FORMAT:
        OnFormat();
        return true;
    case IDC_VIDEO_SOURCE:
        if (video.caps.fHasDlgVideoSource) {
            SendCapture(WM_CAP_DLG_VIDEOSOURCE, 0, 0);
        }
        return true;
    case IDC_VIDEO_CODEC:
        SendCapture(WM_CAP_DLG_VIDEOCOMPRESSION, 0, 0);
        return true;
    case IDC_VIDEO_CANCEL:
    case IDCANCEL:
        OnCancel();
        return true;
    case IDC_VIDEO_ATTACH:
        OnAttach();
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK VideoWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, *reinterpret_cast<const VideoWindowContext*>(lParam));
        return TRUE;
    case WM_SIZE:
        if (video.resizePending) {
            video.resizePending = false;
            LayOut(LOWORD(lParam), HIWORD(lParam));
        }
        return TRUE;
    case WM_PAINT:
        Paint();
        return TRUE;
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void OpenVideoWindow(const VideoWindowContext& context) {
    DialogBoxParamA(context.instance, "VIDEOBOX", context.mainWindow, VideoWindowProc,
                    reinterpret_cast<LPARAM>(&context));
}
