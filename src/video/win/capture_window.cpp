#include "video/win/capture_window.h"

#include <cstring>
#include <memory>
#include <vector>

#include "video/win/screen_source.h"

namespace {

constexpr char kCaptureWindowClass[] = "KESTRO_CAPTURE";
// Every capture-window message, the ANSI and the wide ones.
constexpr UINT kFirstCaptureMessage = WM_CAP_START;
constexpr UINT kLastCaptureMessage = WM_CAP_START + 200;

std::vector<OwnCaptureSource>& OwnSources() {
    static std::vector<OwnCaptureSource> sources = {ScreenCaptureSource()};
    return sources;
}

bool PlatformDriverAt(int index) {
    char name[80];
    char version[100];
    return capGetDriverDescriptionA(static_cast<UINT>(index), name, sizeof name, version,
                                    sizeof version) != FALSE;
}

// The own source at a driver index; null for a platform driver's index or a free one.
const OwnCaptureSource* OwnSourceAt(int index) {
    if (index < 0 || index >= kCaptureDriverSlots) {
        return nullptr;
    }
    size_t next = 0;
    for (int i = 0; i <= index; ++i) {
        if (PlatformDriverAt(i)) {
            if (i == index) {
                return nullptr;
            }
            continue;
        }
        if (next >= OwnSources().size()) {
            return nullptr;
        }
        if (i == index) {
            return &OwnSources()[next];
        }
        ++next;
    }
    return nullptr;
}

bool IsCallbackMessage(UINT message) {
    return (message >= WM_CAP_SET_CALLBACK_ERRORA && message <= WM_CAP_SET_CALLBACK_WAVESTREAM) ||
           message == WM_CAP_SET_CALLBACK_CAPCONTROL || message == WM_CAP_SET_CALLBACK_ERRORW ||
           message == WM_CAP_SET_CALLBACK_STATUSW;
}

struct CaptureWindowData {
    HWND platform;               // a platform capture window inside this one
    const OwnCaptureSource* own; // or an own source
    void* ownState;
    std::vector<std::pair<UINT, LPARAM>> callbacks; // as installed, replayed on connecting
};

CaptureWindowData* DataOf(HWND window) {
    return reinterpret_cast<CaptureWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LPARAM InstalledCallback(const CaptureWindowData& data, UINT message) {
    for (const auto& callback : data.callbacks) {
        if (callback.first == message) {
            return callback.second;
        }
    }
    return 0;
}

CaptureSourceCall CallFor(HWND window, CaptureWindowData& data) {
    return CaptureSourceCall{
        window, &data.ownState,
        reinterpret_cast<CAPSTATUSCALLBACKA>(InstalledCallback(data, WM_CAP_SET_CALLBACK_STATUSA)),
        reinterpret_cast<CAPCONTROLCALLBACK>(
            InstalledCallback(data, WM_CAP_SET_CALLBACK_CAPCONTROL))};
}

bool AskOwn(HWND window, CaptureWindowData& data, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT& result) {
    if (data.own == nullptr) {
        return false;
    }
    result = 0;
    return data.own->answer(CallFor(window, data), message, wParam, lParam, result);
}

void Disconnect(HWND window, CaptureWindowData& data) {
    if (data.platform != nullptr) {
        SendMessageA(data.platform, WM_CAP_DRIVER_DISCONNECT, 0, 0);
        DestroyWindow(data.platform);
        data.platform = nullptr;
    }
    LRESULT ignored;
    AskOwn(window, data, WM_CAP_DRIVER_DISCONNECT, 0, 0, ignored);
    data.own = nullptr;
    data.ownState = nullptr;
}

LRESULT Connect(HWND window, CaptureWindowData& data, WPARAM index, LPARAM lParam) {
    Disconnect(window, data);
    const int driver = static_cast<int>(index);
    if (driver < 0 || driver >= kCaptureDriverSlots) {
        return FALSE;
    }
    if (PlatformDriverAt(driver)) {
        RECT client;
        GetClientRect(window, &client);
        data.platform = capCreateCaptureWindowA("Capture Window", WS_CHILD | WS_VISIBLE, 0, 0,
                                                client.right, client.bottom, window, 0);
        if (data.platform == nullptr) {
            return FALSE;
        }
        for (const auto& callback : data.callbacks) {
            SendMessageA(data.platform, callback.first, 0, callback.second);
        }
        if (!SendMessageA(data.platform, WM_CAP_DRIVER_CONNECT, index, lParam)) {
            DestroyWindow(data.platform);
            data.platform = nullptr;
            return FALSE;
        }
        return TRUE;
    }
    data.own = OwnSourceAt(driver);
    LRESULT connected = FALSE;
    if (!AskOwn(window, data, WM_CAP_DRIVER_CONNECT, index, lParam, connected) || !connected) {
        data.own = nullptr;
        data.ownState = nullptr;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CaptureWindowData* data = DataOf(window);
    if (message == WM_NCCREATE) {
        // The window owns its data from here until WM_NCDESTROY.
        auto created = std::make_unique<CaptureWindowData>();
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created.release()));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (data == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const std::unique_ptr<CaptureWindowData> owned(data);
        Disconnect(window, *data);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_CAP_DRIVER_CONNECT) {
        return Connect(window, *data, wParam, lParam);
    }
    if (message == WM_CAP_DRIVER_DISCONNECT) {
        Disconnect(window, *data);
        return TRUE;
    }
    if (IsCallbackMessage(message)) {
        auto& callbacks = data->callbacks;
        for (auto it = callbacks.begin(); it != callbacks.end(); ++it) {
            if (it->first == message) {
                callbacks.erase(it);
                break;
            }
        }
        callbacks.emplace_back(message, lParam);
        if (data->platform != nullptr) {
            return SendMessageA(data->platform, message, wParam, lParam);
        }
        return TRUE;
    }
    if (message == WM_SIZE && data->platform != nullptr) {
        MoveWindow(data->platform, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    }
    LRESULT result = 0;
    if (message >= kFirstCaptureMessage && message <= kLastCaptureMessage) {
        if (data->platform != nullptr) {
            return SendMessageA(data->platform, message, wParam, lParam);
        }
        AskOwn(window, *data, message, wParam, lParam, result);
        return result;
    }
    if (AskOwn(window, *data, message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterCaptureWindowClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kCaptureWindowClass, &existing)) {
        return true;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CaptureWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kCaptureWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

void AddOwnCaptureSource(const OwnCaptureSource& source) {
    OwnSources().push_back(source);
}

bool CaptureDriverDescription(int index, char* name, int nameSize, char* version, int versionSize) {
    if (index < 0 || index >= kCaptureDriverSlots || nameSize <= 0 || versionSize <= 0) {
        return false;
    }
    if (capGetDriverDescriptionA(static_cast<UINT>(index), name, nameSize, version, versionSize)) {
        return true;
    }
    const OwnCaptureSource* own = OwnSourceAt(index);
    if (own == nullptr) {
        return false;
    }
    lstrcpynA(name, own->name, nameSize);
    lstrcpynA(version, own->version, versionSize);
    return true;
}

HWND CreateCaptureWindow(HINSTANCE instance, const char* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, int id) {
    if (!RegisterCaptureWindowClass(instance)) {
        return nullptr;
    }
    return CreateWindowExA(0, kCaptureWindowClass, title, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}
