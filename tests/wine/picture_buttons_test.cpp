// The picture buttons of the real main window: the skin image table, the faces drawn for each
// state, hover and press tracking, and the logo's sending animation.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/win/app_state.h"
#include "compose/skin_sets.h"
#include "compose/win/picture_buttons.h"
#include "compose/win/skin_images.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/canvas.h"
#include "support/harness.h"

namespace {

using PictureButtons = MainWindowTest;

SIZE ClientSize(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// Image `index` of `set` as the resource itself shows it, cut to `size`: an icon drawn on the
// button-face colour, a bitmap as it is.
std::vector<uint32_t> ResourceFace(int set, int index, SIZE size) {
    const SkinSetSpec& spec = kSkinSets[set];
    char name[16];
    std::snprintf(name, sizeof name, "#%d", spec.firstId + index);
    Canvas canvas(size.cx, size.cy);
    canvas.Fill(GetSysColor(COLOR_BTNFACE));
    if (spec.kind == SkinImageKind::Icon) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, spec.width, spec.height, 0));
        EXPECT_NE(icon, nullptr) << name;
        DrawIconEx(canvas.dc(), 0, 0, icon, spec.width, spec.height, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    } else {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
        EXPECT_NE(bitmap, nullptr) << name;
        HDC source = CreateCompatibleDC(canvas.dc());
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(canvas.dc(), 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        DeleteObject(bitmap);
    }
    return canvas.Pixels();
}

// What the owner of `button` draws for it into a memory device context.
std::vector<uint32_t> DrawnFace(HWND owner, HWND button, UINT state, UINT action = ODA_DRAWENTIRE) {
    const SIZE size = ClientSize(button);
    Canvas canvas(size.cx, size.cy);
    canvas.Fill(RGB(255, 0, 255));
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    item.itemAction = action;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = canvas.dc();
    item.rcItem = {0, 0, size.cx, size.cy};
    SendMessageA(owner, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return canvas.Pixels();
}

HWND ToolbarButton(int id) {
    return composeWindows.toolbarButtons[id - IDC_SEND_BUTTON];
}

HWND Label(int id) {
    return GetDlgItem(composeWindows.addressPanel, id);
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Puts the pointer at `point`; false when this desktop cannot move it.
bool MovePointer(POINT point) {
    SetCursorPos(point.x, point.y);
    POINT now = {};
    GetCursorPos(&now);
    return now.x == point.x && now.y == point.y;
}

bool MovePointerOnto(HWND window) {
    return MovePointer(CentreOf(window)) && WindowFromPoint(CentreOf(window)) == window;
}

void MovePointerAway() {
    MovePointer({1, 1}); // the main window stands at (50, 40)
}

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(x, y);
}

TEST_F(PictureButtons, TheSkinImageTableHoldsEverySetAtItsSizeUntilTheTearDown) {
    std::vector<HBITMAP> loaded;
    size_t images = 0;
    for (int set = 0; set < kSkinSetCount; ++set) {
        images += static_cast<size_t>(kSkinSets[set].count);
        const SkinSetSpec& spec = kSkinSets[set];
        for (int index = 0; index < kSkinSetMaxImages; ++index) {
            SCOPED_TRACE(testing::Message() << "set " << set << " image " << index);
            HBITMAP image = SkinImage(set, index);
            if (index >= spec.count) {
                EXPECT_EQ(image, nullptr);
                continue;
            }
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(GetObjectType(image), static_cast<DWORD>(OBJ_BITMAP));
            const SIZE size = BitmapSize(image);
            EXPECT_EQ(size.cx, spec.width);
            EXPECT_EQ(size.cy, spec.height);
            loaded.push_back(image);
        }
    }
    EXPECT_EQ(loaded.size(), images);

    DestroyWindow(window_);
    for (HBITMAP image : loaded) {
        EXPECT_EQ(GetObjectType(image), 0u) << "not deleted";
    }
    for (int set = 0; set < kSkinSetCount; ++set) {
        EXPECT_EQ(SkinImage(set, 0), nullptr);
    }
}

TEST_F(PictureButtons, ToolbarButtonsDrawTheFaceOfTheirState) {
    const SIZE toolbarSize = {55, 40};
    HWND send = ToolbarButton(IDC_SEND_BUTTON);
    EXPECT_EQ(DrawnFace(window_, send, 0), ResourceFace(0, 0, toolbarSize));
    pictureButtonState.hoverFlags[0] = 1;
    EXPECT_EQ(DrawnFace(window_, send, 0), ResourceFace(0, 3, toolbarSize));
    EXPECT_EQ(DrawnFace(window_, send, ODS_SELECTED), ResourceFace(0, 2, toolbarSize));
    EXPECT_NE(ResourceFace(0, 0, toolbarSize), ResourceFace(0, 3, toolbarSize));

    // Cancel has other faces while a send is running; idle, it cannot be pressed.
    HWND cancel = ToolbarButton(IDC_CANCEL_BUTTON);
    pictureButtonState.hoverFlags[4] = 1;
    EXPECT_EQ(DrawnFace(window_, cancel, 0), ResourceFace(1, 4, toolbarSize));
    EXPECT_EQ(DrawnFace(window_, cancel, ODS_SELECTED), ResourceFace(1, 4, toolbarSize));
    sendState = 0x18;
    EXPECT_EQ(DrawnFace(window_, cancel, 0), ResourceFace(1, 3, toolbarSize));
    EXPECT_EQ(DrawnFace(window_, cancel, ODS_SELECTED), ResourceFace(1, 2, toolbarSize));
    EXPECT_NE(ResourceFace(1, 3, toolbarSize), ResourceFace(1, 4, toolbarSize));
    sendState = 0;

    HWND logo = ToolbarButton(IDC_LOGO_BUTTON);
    const SIZE logoSize = ClientSize(logo);
    EXPECT_EQ(DrawnFace(window_, logo, 0), ResourceFace(8, 0, logoSize));
    EXPECT_EQ(DrawnFace(window_, logo, ODS_SELECTED), ResourceFace(8, 28, logoSize));
}

TEST_F(PictureButtons, LabelsDrawTheFacesOfTheirOwnSets) {
    HWND to = Label(IDC_TO_LABEL);
    ASSERT_NE(to, nullptr);
    const SIZE size = ClientSize(to);
    EXPECT_EQ(DrawnFace(composeWindows.addressPanel, to, 0), ResourceFace(9, 0, size));
    pictureButtonState.labelHoverFlags[1] = 1;
    EXPECT_EQ(DrawnFace(composeWindows.addressPanel, to, 0), ResourceFace(9, 2, size));
    EXPECT_EQ(DrawnFace(composeWindows.addressPanel, to, ODS_SELECTED), ResourceFace(9, 1, size));
    EXPECT_NE(ResourceFace(9, 0, size), ResourceFace(9, 2, size));

    HWND from = Label(IDC_FROM_LABEL);
    EXPECT_EQ(DrawnFace(composeWindows.addressPanel, from, 0), ResourceFace(26, 0, size));
}

TEST_F(PictureButtons, FormatButtonsShowTheStateTheFormatBarKeeps) {
    HWND bold = Child(IDC_BOLD_BUTTON);
    const SIZE size = {25, 25};
    const std::vector<uint32_t> off = ResourceFace(5, 0, size);
    const std::vector<uint32_t> on = ResourceFace(5, 1, size);
    ASSERT_NE(off, on);
    EXPECT_EQ(DrawnFace(window_, bold, 0), off);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_BOLD_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(bold));
    EXPECT_EQ(DrawnFace(window_, bold, 0), on);
    // Repainting, held down or not, changes nothing.
    EXPECT_EQ(DrawnFace(window_, bold, ODS_SELECTED, ODA_SELECT), on);
    EXPECT_EQ(DrawnFace(window_, bold, 0, ODA_SELECT), on);
    EXPECT_EQ(DrawnFace(window_, Child(IDC_ITALIC_BUTTON), 0), ResourceFace(6, 0, size));
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_BOLD_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(bold));
    EXPECT_EQ(DrawnFace(window_, bold, 0), off);
}

TEST_F(PictureButtons, OnlyTheButtonUnderThePointerLooksHoveredUntilThePointerLeaves) {
    MovePointerAway();
    HWND send = ToolbarButton(IDC_SEND_BUTTON);
    HWND attach = ToolbarButton(IDC_ATTACH_BUTTON);
    SendMessageA(send, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
    EXPECT_EQ(pictureButtonState.hoverFlags[0], 1);
    SendMessageA(attach, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
    EXPECT_EQ(pictureButtonState.hoverFlags[0], 0);
    EXPECT_EQ(pictureButtonState.hoverFlags[1], 1);

    // The labels keep to themselves.
    HWND to = Label(IDC_TO_LABEL);
    SendMessageA(to, WM_MOUSEMOVE, 0, ClientPoint(5, 5));
    EXPECT_EQ(pictureButtonState.labelHoverFlags[1], 1);
    EXPECT_EQ(pictureButtonState.hoverFlags[1], 1);
    SendMessageA(Label(IDC_CC_LABEL), WM_MOUSEMOVE, 0, ClientPoint(5, 5));
    EXPECT_EQ(pictureButtonState.labelHoverFlags[1], 0);
    EXPECT_EQ(pictureButtonState.labelHoverFlags[2], 1);

    // The pointer is elsewhere: the next ticks of timer 2 end every hover.
    PumpMessagesFor(200);
    EXPECT_EQ(pictureButtonState.hoverFlags[1], 0);
    EXPECT_EQ(pictureButtonState.labelHoverFlags[2], 0);

    HWND video = ToolbarButton(IDC_VIDEO_BUTTON);
    if (!MovePointerOnto(video)) {
        GTEST_SKIP() << "this desktop cannot move the pointer";
    }
    SendMessageA(video, WM_MOUSEMOVE, 0, ClientPoint(27, 20));
    PumpMessagesFor(200);
    EXPECT_EQ(pictureButtonState.hoverFlags[3], 1);
    MovePointerAway();
    PumpMessagesFor(200);
    EXPECT_EQ(pictureButtonState.hoverFlags[3], 0);
}

TEST_F(PictureButtons, APressedButtonKeepsItsPressedLookUntilItIsReleased) {
    HWND cancel = ToolbarButton(IDC_CANCEL_BUTTON);
    if (!MovePointerOnto(cancel)) {
        GTEST_SKIP() << "this desktop cannot move the pointer";
    }
    sendState = 0x18; // Cancel has a pressed face only while a send is running
    SendMessageA(cancel, WM_MOUSEMOVE, 0, ClientPoint(27, 20));
    SendMessageA(cancel, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(27, 20));
    EXPECT_EQ(pictureButtonState.pressedFlags[4], 1);

    // Dragged off: the button itself looks released, the face stays pressed.
    MovePointerAway();
    SendMessageA(cancel, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(-300, -300));
    PumpMessagesFor(200);
    EXPECT_EQ(pictureButtonState.hoverFlags[4], 1);
    EXPECT_EQ(pictureButtonState.pressedFlags[4], 1);
    EXPECT_EQ(DrawnFace(window_, cancel, 0), ResourceFace(1, 2, {55, 40}));

    SendMessageA(cancel, WM_LBUTTONUP, 0, ClientPoint(-300, -300));
    EXPECT_EQ(pictureButtonState.pressedFlags[4], 0);
    PumpMessages();
    EXPECT_EQ(pictureButtonState.hoverFlags[4], 0);
    EXPECT_EQ(DrawnFace(window_, cancel, 0), ResourceFace(1, 0, {55, 40}));
    sendState = 0;

    // The labels share one pressed flag.
    HWND bcc = Label(IDC_BCC_LABEL);
    ASSERT_TRUE(MovePointerOnto(bcc));
    SendMessageA(bcc, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
    EXPECT_EQ(pictureButtonState.labelPressed, 1);
    MovePointerAway();
    SendMessageA(bcc, WM_LBUTTONUP, 0, ClientPoint(-300, -300));
    EXPECT_EQ(pictureButtonState.labelPressed, 0);
}

TEST_F(PictureButtons, TheLogoTurnsWhileASendRunsAndRestsWhenItEnds) {
    HWND logo = ToolbarButton(IDC_LOGO_BUTTON);
    sendState = 0x18;
    SendMessageA(logo, WM_COMMAND, IDM_START_SEND_ANIMATION, 0);
    EXPECT_TRUE(pictureButtonState.logo.running);
    EXPECT_EQ(pictureButtonState.logo.counter, 0);
    PumpMessagesFor(300);
    EXPECT_TRUE(pictureButtonState.logo.running);
    EXPECT_GE(pictureButtonState.logo.shownFrame, 2);
    EXPECT_EQ(pictureButtonState.logo.shownFrame, pictureButtonState.logo.counter);

    sendState = 0; // the send ended (or was cancelled)
    PumpMessagesFor(150);
    EXPECT_FALSE(pictureButtonState.logo.running);
    EXPECT_EQ(pictureButtonState.logo.shownFrame, 0);
    const int counter = pictureButtonState.logo.counter;
    PumpMessagesFor(150);
    EXPECT_EQ(pictureButtonState.logo.counter, counter); // timer 1 is gone

    // A failed session leaves only its error bits: the logo stops as well.
    sendState = 0x208;
    SendMessageA(logo, WM_COMMAND, IDM_START_SEND_ANIMATION, 0);
    PumpMessagesFor(120);
    sendState = 0xFF000208u;
    PumpMessagesFor(150);
    EXPECT_FALSE(pictureButtonState.logo.running);
    EXPECT_EQ(pictureButtonState.logo.shownFrame, 0);
    sendState = 0;
}

} // namespace
