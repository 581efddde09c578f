#include <winsock2.h> // before <windows.h>

#include "app/win/startup.h"

#include <commctrl.h>

#include "ad/win/ad_banner.h"
#include "app/win/app_state.h"
#include "app/win/commands.h"
#include "app/win/main_window.h"
#include "app/win/settings_store.h"
#include "audio/win/mp3_codec.h"
#include "base/win/message_box.h"
#include "compose/win/address_panel.h"
#include "compose/win/attachment_strip.h"
#include "mail/win/simple_mapi.h"
#include "plugins/win/encoder_runner.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"

namespace {

bool RegisterOne(HINSTANCE instance, const char* name, UINT style, WNDPROC procedure,
                 HBRUSH background, HICON icon, HCURSOR cursor, const char* menu) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

} // namespace

bool RegisterKestroClasses(HINSTANCE instance) {
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KESTRO));
    return RegisterOne(instance, "Kestro", CS_HREDRAW | CS_VREDRAW, MainWindowProc,
                       reinterpret_cast<HBRUSH>(COLOR_MENU + 1), icon,
                       LoadCursor(nullptr, IDC_ARROW), "KESTRO") &&
           RegisterOne(instance, kAddressPanelClass, CS_HREDRAW | CS_VREDRAW, AddressPanelProc,
                       white, nullptr, nullptr, nullptr) &&
           RegisterOne(instance, kAttachStripClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                       AttachStripProc, white, nullptr, nullptr, "ATTACHPOPUPMENU") &&
           RegisterOne(instance, kAdBannerClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, AdBannerProc,
                       white, nullptr, nullptr, nullptr);
}

void LoadRichEditLibrary() {
    app.bodyClassFlag = 1;
    app.richEditModule = LoadLibraryA("RICHED32.DLL");
    if (!app.richEditModule) {
        app.richEditModule = LoadLibraryA("RICHED20.DLL");
        app.bodyClassFlag = 0;
    }
}

void ComputeProgramDirectory() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH] = '\0';
    char* lastSlash = strrchr(path, '\\');
    if (lastSlash) {
        lastSlash[1] = '\0';
    }
    CopyField(programDirectory, sizeof programDirectory, path);
}

HWND CreateMainWindow() {
    return CreateWindowExA(0, "Kestro", "Kestro", WS_OVERLAPPEDWINDOW, programSettings.x,
                           programSettings.y, programSettings.width, programSettings.height,
                           nullptr, nullptr, app.instance, nullptr);
}

void RunFirstStartQuestions() {
    // kto2mp3 carries its own encoder, so a complete installation never needs the installer.
    if (Mp3CodecPresent() == 0) {
        RunCodecInstaller(nullptr);
    }
    int answer =
        ShowMessageBox(nullptr, "Would you like to run the Kestro Auto Configuration tool?",
                       "Kestro program settings", MB_OKCANCEL);
    if (answer == IDOK) {
        PostMessageA(app.mainWindow, WM_COMMAND, IDM_AUTOCONFIG, 0);
    } else {
        programSettings.useMapi = 1;
        RefreshSenderLine();
    }
}

int RunKestro(HINSTANCE instance, int showCommand) {
    if (!RegisterKestroClasses(instance)) {
        return 0;
    }
    if (HWND running = FindWindowA("Kestro", nullptr)) {
        SetForegroundWindow(running);
        return 0;
    }
    LoadRichEditLibrary();
    LoadMapi();
    app.instance = instance;
    InitCommonControls();
    ComputeProgramDirectory();
    const bool firstRun = ReadSettings() == 0;
    LoadPluginSettings();
    if (!CreateMainWindow()) {
        return 0;
    }
    if (firstRun) {
        RunFirstStartQuestions();
    } else {
        RefreshSenderLine();
    }
    ShowWindow(app.mainWindow, showCommand);
    UpdateWindow(app.mainWindow);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    WSACleanup();
    UnloadMapi();
    if (app.richEditModule) {
        FreeLibrary(app.richEditModule);
        app.richEditModule = nullptr;
    }
    return static_cast<int>(message.wParam);
}
