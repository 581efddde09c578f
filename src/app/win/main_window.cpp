#include "app/win/main_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <vfw.h>

#include <cstdio>

#include "ad/win/ad_banner.h"
#include "app/win/app_state.h"
#include "app/help_targets.h"
#include "app/win/commands.h"
#include "app/win/help_launcher.h"
#include "app/win/settings_dialogs.h"
#include "app/win/settings_store.h"
#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "base/win/status_bar.h"
#include "compose/win/address_panel.h"
#include "compose/win/attachment_strip.h"
#include "compose/win/body_editor.h"
#include "compose/win/compose_windows.h"
#include "compose/win/current_message.h"
#include "compose/win/format_bar.h"
#include "compose/win/picture_buttons.h"
#include "compose/win/skin_images.h"
#include "mail/win/mail_windows.h"
#include "mail/win/send_state.h"
#include "mail/win/smtp_client.h"
#include "plugins/win/plugin_windows.h"
#include "resources/resource_ids.h"
#include "store/win/store_windows.h"
#include "video/win/driver_notice.h"

namespace {

HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle,
                 const LayoutRect& r, HWND parent, int id) {
    return CreateWindowExA(exStyle, className, text, style, r.x, r.y, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance,
                           nullptr);
}

void MoveTo(HWND window, const LayoutRect& r) {
    if (window) {
        MoveWindow(window, r.x, r.y, r.width, r.height, TRUE);
    }
}

RECT ClientRect(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return rect;
}

MainLayout CurrentLayout(HWND window) {
    RECT client = ClientRect(window);
    return ComputeMainLayout(client.right, client.bottom, app.adBanner != nullptr,
                             AttachmentCount(), app.metrics);
}

void SetStatusParts(const MainLayout& layout) {
    SendMessageA(app.statusBar, SB_SETPARTS, 4,
                 reinterpret_cast<LPARAM>(const_cast<int*>(layout.statusPartEdges)));
}

void CreateToolbarAndButtons(HWND window) {
    app.toolbar = CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_TOP,
                                  IDC_TOOLBAR, 1, HINST_COMMCTRL, IDB_STD_LARGE_COLOR, nullptr, 0,
                                  0, 0, 0, 0, sizeof(TBBUTTON));
    SendMessageA(app.toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(55, 40));
    SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);

    RECT client = ClientRect(window);
    MainLayout layout = ComputeMainLayout(client.right, client.bottom, false, 0, app.metrics);
    static const char* const captions[6] = {"Send", "Attach", "Voice", "Video", "Cancel", "Icon"};
    for (int i = 0; i < 6; ++i) {
        const LayoutRect& r = i < 5 ? layout.pictureButtons[i] : layout.logoButton;
        composeWindows.toolbarButtons[i] =
            CreateChild("Button", captions[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, r, window,
                        IDC_SEND_BUTTON + i);
    }
}

void CreateUiFont() {
    LOGFONTA font = {};
    font.lfHeight = app.metrics.uiFontHeight;
    font.lfWeight = 500;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    app.uiFont.reset(CreateFontIndirectA(&font));
}

void CreateFormatBar(HWND window) {
    const FormatBarLayout bar = ComputeFormatBarLayout(app.metrics);
    const DWORD comboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST;
    composeWindows.fontNameBox =
        CreateChild("combobox", "", comboStyle | CBS_SORT, WS_EX_STATICEDGE, bar.fontNameBox,
                    window, IDC_FONT_NAME_BOX);
    composeWindows.fontSizeBox = CreateChild("combobox", "", comboStyle, WS_EX_STATICEDGE,
                                             bar.sizeBox, window, IDC_FONT_SIZE_BOX);
    composeWindows.colourBox =
        CreateChild("combobox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                    WS_EX_STATICEDGE, bar.colourBox, window, IDC_COLOUR_BOX);
    const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    composeWindows.boldButton =
        CreateChild("Button", " B ", buttonStyle, 0, bar.boldButton, window, IDC_BOLD_BUTTON);
    composeWindows.italicButton =
        CreateChild("Button", " I ", buttonStyle, 0, bar.italicButton, window, IDC_ITALIC_BUTTON);
    composeWindows.underlineButton = CreateChild("Button", " U ", buttonStyle, 0,
                                                 bar.underlineButton, window, IDC_UNDERLINE_BUTTON);
}

void CreateBodyEditor(HWND window, int clientWidth) {
    if (!app.richEditModule) {
        return; // neither rich-text library could be loaded
    }
    const LayoutRect r = {0, app.metrics.formatBarHeight + app.metrics.addressPanelHeight + 48,
                          clientWidth - 2, 0};
    composeWindows.bodyEditor =
        CreateChild(app.bodyClassFlag ? "richedit" : "RichEdit20A", "",
                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                        ES_DISABLENOSCROLL | ES_SUNKEN,
                    0, r, window, IDC_BODY_EDITOR);
}

// Options > Video Driver: one item per capture driver in place of "No Video Drivers".
void FillVideoDriverMenu(HWND window) {
    HMENU drivers = VideoDriverMenu(window);
    if (!drivers) {
        return;
    }
    for (int index = 0; index < 10; ++index) {
        char name[80];
        char version[100];
        if (!capGetDriverDescriptionA(static_cast<UINT>(index), name, sizeof name, version,
                                      sizeof version)) {
            continue;
        }
        char label[100];
        std::snprintf(label, sizeof label, "&%d %s", index, name);
        AppendMenuA(drivers, MF_STRING, IDM_VIDEO_DRIVER_FIRST + index, label);
        if (app.videoDriversMissing) {
            DeleteMenu(drivers, 0, MF_BYPOSITION);
            app.videoDriversMissing = 0;
        }
        if (index == programSettings.videoIndex) {
            CheckMenuItem(drivers, static_cast<UINT>(index), MF_BYPOSITION | MF_CHECKED);
        }
    }
}

// Gives the subsystems what they work with besides the composer's children, which the main
// window creates straight into composeWindows: the instance, the main window, the UI font, the
// field height, the status bar, the settings and the settings dialogs.
void HandWindowsToSubsystems() {
    composeWindows.instance = app.instance;
    composeWindows.mainWindow = app.mainWindow;
    composeWindows.uiFont = app.uiFont.get();
    composeWindows.fieldHeight = app.metrics.fieldHeight;
    composeWindows.settings = &programSettings;
    mailWindows = {app.instance,
                   app.mainWindow,
                   app.statusBar,
                   &programSettings,
                   ProgramSettingsDialogProc,
                   EmailSettingsDialogProc};
    storeWindows = {app.instance, app.mainWindow, &programSettings};
    pluginWindows = {app.instance, app.mainWindow};
}

// The banner reads the ad locations from the settings at each fetch; programDirectory is
// filled before its first fetch starts.
void CreateAdBanner(HWND window, const RECT& client) {
    AdBannerSetup setup = {};
    setup.programDirectory = programDirectory;
    setup.locations[0] = programSettings.adLocation1;
    setup.locations[1] = programSettings.adLocation2;
    setup.enabled = programSettings.adBanner;
    setup.vendorSite = kVendorSite;
    setup.logoButton = composeWindows.toolbarButtons[5];
    setup.openInBrowser = OpenInBrowser;
    const LayoutRect r = {0, client.bottom - kAdBannerHeight - 25, client.right, kAdBannerHeight};
    app.adBanner = CreateWindowExA(
        0, kAdBannerClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, r.x, r.y, r.width, r.height,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_AD_BANNER)), app.instance, &setup);
}

LRESULT OnCreate(HWND window) {
    composeWindows = ComposeWindows{};
    app.mainWindow = window;
    {
        const WindowDc screen(nullptr);
        app.metrics = ComputeShellMetrics(GetDeviceCaps(screen.get(), LOGPIXELSX),
                                          GetDeviceCaps(screen.get(), LOGPIXELSY));
    }

    CreateToolbarAndButtons(window);
    CreateUiFont();
    HandWindowsToSubsystems(); // the address panel reads its font and field height as it is made

    RECT client = ClientRect(window);
    const LayoutRect panel = {0, kToolbarTop, client.right - 3, app.metrics.addressPanelHeight};
    composeWindows.addressPanel =
        CreateChild(kAddressPanelClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER,
                    WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, panel, window, -1);
    CreateFormatBar(window);
    CreateBodyEditor(window, client.right);
    composeWindows.attachStrip =
        CreateChild(kAttachStripClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0,
                    {0, client.bottom - kAttachStripHeight, client.right, kAttachStripHeight},
                    window, IDC_ATTACH_STRIP);
    CreateAdBanner(window, client);
    app.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                    window, nullptr, app.instance, nullptr);
    HandWindowsToSubsystems();

    for (HWND button : composeWindows.toolbarButtons) {
        SetParent(button, app.toolbar);
    }
    SubclassPictureButtons();
    if (composeWindows.bodyEditor) {
        SubclassBodyEditor(composeWindows.bodyEditor);
        DragAcceptFiles(composeWindows.bodyEditor, TRUE);
    }
    DragAcceptFiles(composeWindows.attachStrip, TRUE);
    SubclassAddressEditsForTab();
    InitFormatBar(window);

    SetStatusParts(CurrentLayout(window));
    SetStatusBarText(app.statusBar, "Kestro");
    SetClassLongPtrA(composeWindows.attachStrip, GCLP_HCURSOR,
                     reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_ARROW)));
    LoadSkinImages(window);
    ClearAttachments();
    FillVideoDriverMenu(window);
    return 0;
}

// Keeps the window at least 390 by 400 pixels; returns the client size after any move.
RECT EnforceMinimumSize(HWND window) {
    RECT client = ClientRect(window);
    RECT outer;
    GetWindowRect(window, &outer);
    if (client.right < kMinimumWindowWidth && outer.right - outer.left < kMinimumWindowWidth) {
        MoveWindow(window, outer.left, outer.top, kMinimumWindowWidth, outer.bottom - outer.top,
                   TRUE);
        client = ClientRect(window);
        GetWindowRect(window, &outer);
    }
    if (client.bottom < kMinimumWindowHeight && outer.bottom - outer.top < kMinimumWindowHeight) {
        MoveWindow(window, outer.left, outer.top, outer.right - outer.left, kMinimumWindowHeight,
                   TRUE);
        client = ClientRect(window);
    }
    return client;
}

void LayOutBodyAndStrip(const MainLayout& layout) {
    MoveTo(composeWindows.bodyEditor, layout.bodyEditor);
    MoveTo(composeWindows.attachStrip, layout.attachStrip);
}

LRESULT OnSize(HWND window, WPARAM sizeType) {
    if (sizeType == SIZE_MINIMIZED) {
        return 0; // an icon has no client area to lay out
    }
    EnforceMinimumSize(window);
    const MainLayout layout = CurrentLayout(window);
    SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);
    for (int i = 0; i < 5; ++i) {
        MoveTo(composeWindows.toolbarButtons[i], layout.pictureButtons[i]);
    }
    MoveTo(composeWindows.toolbarButtons[5], layout.logoButton);
    MoveTo(composeWindows.addressPanel, layout.addressPanel);
    MoveTo(composeWindows.fontNameBox, layout.formatBar.fontNameBox);
    MoveTo(composeWindows.fontSizeBox, layout.formatBar.sizeBox);
    MoveTo(composeWindows.colourBox, layout.formatBar.colourBox);
    MoveTo(composeWindows.boldButton, layout.formatBar.boldButton);
    MoveTo(composeWindows.italicButton, layout.formatBar.italicButton);
    MoveTo(composeWindows.underlineButton, layout.formatBar.underlineButton);
    LayOutBodyAndStrip(layout);
    MoveTo(app.adBanner, layout.adBanner);
    MoveWindow(app.statusBar, 0, 0, 0, 0, TRUE);
    SetStatusParts(layout);
    SetStatusBarText(app.statusBar, "Kestro");
    return 0;
}

LRESULT OnMeasureItem(HWND window, MEASUREITEMSTRUCT* item) {
    if (item->CtlID != IDC_COLOUR_BOX) {
        return FALSE;
    }
    TEXTMETRICA metrics = {};
    const WindowDc dc(GetDlgItem(window, IDC_COLOUR_BOX));
    GetTextMetricsA(dc.get(), &metrics);
    item->itemHeight = metrics.tmHeight > 0 ? static_cast<UINT>(metrics.tmHeight) : 0;
    return TRUE;
}

LRESULT OnClose(HWND window) {
    if (!SendIsInProgress(sendState) && (!MessageHasContent() || alreadySent)) {
        return DefWindowProcA(window, WM_CLOSE, 0, 0);
    }
    int answer = ShowMessageBox(window, "This e-mail has not been sent.\nClose the program?",
                                "Close Program", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    if (answer == IDYES) {
        TearDownMainWindow();
        DestroyWindow(window);
    }
    return 0;
}

} // namespace

void TearDownMainWindow() {
    if (app.tornDown) {
        return;
    }
    app.tornDown = true;
    PostQuitMessage(0);
    WriteSettings();
    ResetSendingState();
    ReleasePictureButtonImages();
    ReleaseFormatBar();
    HWND fontUsers[] = {composeWindows.fontNameBox,   composeWindows.fontSizeBox,
                        AddressEdit(IDC_FROM_EDIT),   AddressEdit(IDC_TO_EDIT),
                        AddressEdit(IDC_CC_EDIT),     AddressEdit(IDC_BCC_EDIT),
                        AddressEdit(IDC_SUBJECT_EDIT)};
    for (HWND user : fontUsers) {
        if (user) {
            SendMessageA(user, WM_SETFONT, 0, FALSE);
        }
    }
    app.uiFont.reset();
    HandWindowsToSubsystems();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        return OnSize(window, wParam);
    case WM_COMMAND:
        return OnMainCommand(window, LOWORD(wParam), HIWORD(wParam), lParam);
    case WM_DRAWITEM:
        if (wParam == IDC_COLOUR_BOX) {
            DrawColourBoxItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        } else {
            DrawOwnerDrawnControl(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return TRUE;
    case WM_MEASUREITEM:
        return OnMeasureItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_CLOSE:
        return OnClose(window);
    case WM_DESTROY:
        TearDownMainWindow();
        app.mainWindow = nullptr;
        HandWindowsToSubsystems();
        return 0;
    case WM_SOCKET_EVENT:
        if (SendFailed(HandleSmtpSocketMessage(window, wParam, lParam))) {
            EndFailedSend();
        }
        return 0;
    case WM_HOST_LOOKUP_DONE:
        OnHostResolved(window, wParam, lParam);
        return 0;
    case WM_RELAYOUT_BODY:
        LayOutBodyAndStrip(CurrentLayout(window));
        InvalidateRect(composeWindows.attachStrip, nullptr, TRUE);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
