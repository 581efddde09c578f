// The body editor and the format bar through the real main window: the boxes and buttons, the
// format they give the selection, the bar following the caret, New Message, the pop-up menu
// and dropped files.
#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/format_tables.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "compose/win/format_bar.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

struct FaceKinds {
    std::set<std::string> trueType;
    std::set<std::string> other;
};

int CALLBACK CollectFaceKind(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data) {
    auto* kinds = reinterpret_cast<FaceKinds*>(data);
    (type & TRUETYPE_FONTTYPE ? kinds->trueType : kinds->other).insert(font->lfFaceName);
    return 1;
}

// What the pop-up menu showed, read while it was open.
struct ShownMenu {
    bool seen = false;
    std::vector<std::string> labels; // "-" for a separator
    std::vector<UINT> ids;
    bool allEnabled = true;
};

ShownMenu shownMenu;

BOOL CALLBACK FindPopupMenuWindow(HWND window, LPARAM result) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadPopupMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = nullptr;
    EnumWindows(FindPopupMenuWindow, reinterpret_cast<LPARAM>(&popup));
    if (!popup) {
        return;
    }
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    shownMenu.seen = true;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char label[64] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        item.dwTypeData = label;
        item.cch = sizeof label;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        shownMenu.labels.push_back(separator ? "-" : label);
        shownMenu.ids.push_back(separator ? 0 : item.wID);
        if (!separator && (item.fState & MFS_DISABLED)) {
            shownMenu.allEnabled = false;
        }
    }
    EndMenu();
}

class BodyEditor : public MainWindowTest {
  protected:
    HWND Body() const { return composeWindows.bodyEditor; }
    HWND FontBox() const { return Child(IDC_FONT_NAME_BOX); }
    HWND SizeBox() const { return Child(IDC_FONT_SIZE_BOX); }
    HWND ColourBox() const { return Child(IDC_COLOUR_BOX); }

    void Select(int start, int end) const { SendMessageA(Body(), EM_SETSEL, start, end); }

    // The format of the character at `position`.
    CHARFORMATA FormatAt(int position) const {
        CHARRANGE kept;
        SendMessageA(Body(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        Select(position, position + 1);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessageA(Body(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageA(Body(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        return format;
    }

    // The user picks `entry` in a box of the bar.
    void Choose(int id, int entry) const {
        HWND box = Child(id);
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
    }

    void ChooseFace(const char* face) const {
        const LRESULT entry = SendMessageA(FontBox(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(face));
        ASSERT_GE(entry, 0) << face;
        Choose(IDC_FONT_NAME_BOX, static_cast<int>(entry));
    }

    void Click(int buttonId) const { SendMessageA(Child(buttonId), BM_CLICK, 0, 0); }

    // The caret goes to `position` and the body asks the bar to follow it.
    void CaretTo(int position) const {
        Select(position, position);
        SendMessageA(window_, WM_COMMAND, IDM_UPDATE_FORMAT_BAR, 0);
    }

    void Type(const char* text) const {
        for (const char* c = text; *c; ++c) {
            SendMessageA(Body(), WM_CHAR, static_cast<unsigned char>(*c), 1);
        }
    }

    void ExpectDefaultFormat(int position) const {
        const CHARFORMATA format = FormatAt(position);
        EXPECT_STREQ(format.szFaceName, "Arial");
        EXPECT_EQ(format.yHeight, 200);
        EXPECT_EQ(format.crTextColor, RGB(0, 0, 0));
        EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_AUTOCOLOR), 0u);
    }

    void ExpectBarShowsDefault() const {
        EXPECT_EQ(ComboSelection(FontBox()), "Arial");
        EXPECT_EQ(ComboSelection(SizeBox()), "10");
        EXPECT_EQ(static_cast<int>(SendMessageA(ColourBox(), CB_GETCURSEL, 0, 0)), 0);
        for (int id = IDC_BOLD_BUTTON; id <= IDC_UNDERLINE_BUTTON; ++id) {
            EXPECT_FALSE(FormatToggleOn(id)) << id;
        }
    }
};

TEST_F(BodyEditor, StartsWithTheTrueTypeFacesTheTablesEntriesAndArial10) {
    ASSERT_NE(Body(), nullptr);
    const std::vector<std::string> faces = ComboEntries(FontBox());
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(std::set<std::string>(faces.begin(), faces.end()).size(), faces.size());
    FaceKinds kinds;
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(window_);
    EnumFontFamiliesExA(dc, &all, CollectFaceKind, reinterpret_cast<LPARAM>(&kinds), 0);
    ReleaseDC(window_, dc);
    for (const std::string& face : faces) {
        EXPECT_TRUE(kinds.trueType.count(face)) << face;
    }
    for (const std::string& face : kinds.trueType) {
        if (face[0] != '@') {
            EXPECT_NE(SendMessageA(FontBox(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(face.c_str())),
                      CB_ERR)
                << face;
        }
    }
    for (const std::string& face : kinds.other) {
        if (!kinds.trueType.count(face)) {
            EXPECT_EQ(SendMessageA(FontBox(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(face.c_str())),
                      CB_ERR)
                << face;
        }
    }

    // The boxes hold the format tables' entries in their order.
    const std::vector<std::string> sizes = ComboEntries(SizeBox());
    ASSERT_EQ(sizes.size(), static_cast<size_t>(kFormatSizeCount));
    ASSERT_EQ(SendMessageA(ColourBox(), CB_GETCOUNT, 0, 0), kFormatColourCount);
    for (int i = 0; i < kFormatColourCount; ++i) {
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(ColourBox(), CB_GETITEMDATA, i, 0)),
                  kFormatColours[i]);
        EXPECT_TRUE(i >= kFormatSizeCount || sizes[i] == std::to_string(kFormatSizes[i])) << i;
    }
    ExpectBarShowsDefault();
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(FontBox(), WM_GETFONT, 0, 0)), app.uiFont.get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(SizeBox(), WM_GETFONT, 0, 0)), app.uiFont.get());

    Type("Hello");
    ExpectDefaultFormat(0);
    ExpectDefaultFormat(4);
    // Setting the background answers the previous one: white.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(Body(), EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3))),
              RGB(255, 255, 255));
    EXPECT_EQ(htmlFormatting, 0);
}

TEST_F(BodyEditor, SizeChangesOnlyTheSelectionAndTheBoxFollowsTheCaret) {
    SetWindowTextA(Body(), "aaaaaBBBBBccccc");
    Select(5, 10);
    Choose(IDC_FONT_SIZE_BOX, 5); // "24"
    EXPECT_EQ(FormatAt(4).yHeight, 200);
    EXPECT_EQ(FormatAt(5).yHeight, 480);
    EXPECT_EQ(FormatAt(9).yHeight, 480);
    EXPECT_EQ(FormatAt(10).yHeight, 200);
    EXPECT_EQ(htmlFormatting, 1);
    EXPECT_EQ(GetFocus(), Body());

    CaretTo(12);
    EXPECT_EQ(ComboSelection(SizeBox()), "10");
    CaretTo(7);
    EXPECT_EQ(ComboSelection(SizeBox()), "24");

    // A key moving the caret, then a click elsewhere.
    Select(12, 12);
    SendMessageA(Body(), WM_KEYDOWN, VK_LEFT, 1);
    PumpMessages();
    EXPECT_EQ(ComboSelection(SizeBox()), "10");
    Select(6, 6);
    SendMessageA(Body(), WM_KEYDOWN, VK_RIGHT, 1);
    PumpMessages();
    EXPECT_EQ(ComboSelection(SizeBox()), "24");
    POINTL point = {};
    SendMessageA(Body(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), 13);
    SendMessageA(Body(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x + 1, point.y + 2));
    SendMessageA(Body(), WM_LBUTTONUP, 0, MAKELPARAM(point.x + 1, point.y + 2));
    EXPECT_EQ(ComboSelection(SizeBox()), "10");

    // 11 points is not an entry: the box keeps what it showed.
    CaretTo(7);
    CHARFORMATA eleven = {};
    eleven.cbSize = sizeof eleven;
    eleven.dwMask = CFM_SIZE;
    eleven.yHeight = 220;
    Select(0, 5);
    SendMessageA(Body(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&eleven));
    CaretTo(2);
    EXPECT_EQ(ComboSelection(SizeBox()), "24");
}

TEST_F(BodyEditor, FaceAndColourChangeOnlyTheSelectionAndTheBoxesFollow) {
    SetWindowTextA(Body(), "aaaaaBBBBBccccc");
    Select(5, 10);
    ChooseFace("Times New Roman");
    Select(5, 10);
    Choose(IDC_COLOUR_BOX, 3);
    const CHARFORMATA inside = FormatAt(7);
    EXPECT_STREQ(inside.szFaceName, "Times New Roman");
    EXPECT_EQ(inside.crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(inside.dwEffects & CFE_AUTOCOLOR, 0u);
    ExpectDefaultFormat(2);
    ExpectDefaultFormat(12);
    EXPECT_EQ(htmlFormatting, 1);

    CaretTo(7);
    EXPECT_EQ(ComboSelection(FontBox()), "Times New Roman");
    EXPECT_EQ(static_cast<int>(SendMessageA(ColourBox(), CB_GETCURSEL, 0, 0)), 3);
    CaretTo(12);
    EXPECT_EQ(ComboSelection(FontBox()), "Arial");
    EXPECT_EQ(static_cast<int>(SendMessageA(ColourBox(), CB_GETCURSEL, 0, 0)), 0);
}

TEST_F(BodyEditor, BoldItalicAndUnderlineToggleTheSelectionAndTheirButtons) {
    SetWindowTextA(Body(), "aaaaaBBBBBccccc");
    const DWORD effects[3] = {CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE};
    for (int i = 0; i < 3; ++i) {
        const int id = IDC_BOLD_BUTTON + i;
        SCOPED_TRACE(id);
        htmlFormatting = 0;
        Select(5, 10);
        Click(id);
        EXPECT_TRUE(FormatAt(7).dwEffects & effects[i]);
        EXPECT_FALSE(FormatAt(2).dwEffects & effects[i]);
        EXPECT_TRUE(FormatToggleOn(id));
        EXPECT_EQ(htmlFormatting, 1);

        CaretTo(12);
        EXPECT_FALSE(FormatToggleOn(id));
        CaretTo(7);
        EXPECT_TRUE(FormatToggleOn(id));

        // Part on, part off: the whole selection is switched on; then everything off again.
        Select(3, 8);
        Click(id);
        for (int position = 3; position < 10; ++position) {
            EXPECT_TRUE(FormatAt(position).dwEffects & effects[i]) << position;
        }
        EXPECT_TRUE(FormatToggleOn(id));
        Select(3, 10);
        Click(id);
        EXPECT_FALSE(FormatAt(7).dwEffects & effects[i]);
        EXPECT_FALSE(FormatToggleOn(id));
    }
}

TEST_F(BodyEditor, OpeningABoxOrSteppingThroughItsOpenListIsNoFormatting) {
    SetWindowTextA(Body(), "text");
    for (int id = IDC_FONT_NAME_BOX; id <= IDC_COLOUR_BOX; ++id) {
        for (int notification :
             {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}) {
            SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, notification),
                         reinterpret_cast<LPARAM>(Child(id)));
        }
    }
    EXPECT_EQ(htmlFormatting, 0);
    ExpectDefaultFormat(1);

    // Arrow keys in the open list only move through it; Enter (or a click) chooses.
    Select(0, 4);
    SendMessageA(SizeBox(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(SizeBox(), CB_GETDROPPEDSTATE, 0, 0));
    Choose(IDC_FONT_SIZE_BOX, 3);
    Choose(IDC_FONT_SIZE_BOX, 4);
    EXPECT_EQ(FormatAt(1).yHeight, 200);
    EXPECT_EQ(htmlFormatting, 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_FONT_SIZE_BOX, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(SizeBox()));
    EXPECT_EQ(FormatAt(1).yHeight, 360);
    EXPECT_EQ(htmlFormatting, 1);
    SendMessageA(SizeBox(), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(BodyEditor, NewMessageClearsTheFormattedFlagAndResetsTheFormat) {
    SetWindowTextA(Body(), "some text");
    Select(0, -1);
    ChooseFace("Courier New");
    Select(0, -1);
    Choose(IDC_FONT_SIZE_BOX, 6);
    Select(0, -1);
    Choose(IDC_COLOUR_BOX, 9);
    Select(0, -1);
    Click(IDC_BOLD_BUTTON);
    Select(0, -1);
    Click(IDC_UNDERLINE_BUTTON);
    CaretTo(4);
    ASSERT_EQ(htmlFormatting, 1);
    ASSERT_EQ(ComboSelection(SizeBox()), "36");
    ASSERT_TRUE(FormatToggleOn(IDC_BOLD_BUTTON));
    SendMessageA(Body(), EM_SETBKGNDCOLOR, 0, RGB(0, 0, 128));

    MessageBoxes::Plan(IDOK);
    SendMessageA(window_, WM_COMMAND, IDM_NEW_MESSAGE, 0);
    PumpMessages();
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(htmlFormatting, 0);
    EXPECT_EQ(TextOf(Body()), "");
    ExpectBarShowsDefault();
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(Body(), EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3))),
              RGB(255, 255, 255));

    Type("new");
    ExpectDefaultFormat(0);
    ExpectDefaultFormat(2);
}

TEST_F(BodyEditor, ColourBoxEntriesArePaintedInTheirColours) {
    HDC screen = GetDC(window_);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(window_, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const struct {
        UINT entry;
        UINT state;
        COLORREF colour;
        int margin;
    } cases[] = {{3, 0, RGB(255, 0, 0), COLOR_WINDOW},
                 {12, ODS_SELECTED, RGB(128, 128, 0), COLOR_HIGHLIGHT},
                 {0, 0, RGB(0, 0, 0), COLOR_WINDOW}};
    for (const auto& c : cases) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = IDC_COLOUR_BOX;
        item.itemID = c.entry;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = c.state;
        item.hwndItem = ColourBox();
        item.hDC = dc;
        item.rcItem = {0, 0, 40, 20};
        item.itemData =
            static_cast<ULONG_PTR>(SendMessageA(ColourBox(), CB_GETITEMDATA, c.entry, 0));
        SendMessageA(window_, WM_DRAWITEM, IDC_COLOUR_BOX, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(GetPixel(dc, 20, 10), c.colour) << c.entry;
        EXPECT_EQ(GetPixel(dc, 1, 1), GetNearestColor(dc, GetSysColor(c.margin))) << c.entry;
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(BodyEditor, RightClickShowsTheEditMenuAndItsCommandsWork) {
    SetWindowTextA(Body(), "hello world");
    shownMenu = ShownMenu{};
    SetTimer(nullptr, 0, 20, ReadPopupMenu);
    SendMessageA(Body(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Body(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages();
    ASSERT_TRUE(shownMenu.seen);
    EXPECT_EQ(shownMenu.labels,
              (std::vector<std::string>{"&Undo", "-", "Cu&t", "&Copy", "&Paste"}));
    EXPECT_EQ(shownMenu.ids, (std::vector<UINT>{10040, 0, 10041, 10042, 10043}));
    EXPECT_TRUE(shownMenu.allEnabled);
    EXPECT_EQ(GetFocus(), Body());

    Select(0, 6);
    SendMessageA(Body(), WM_COMMAND, IDM_CUT, 0);
    EXPECT_EQ(TextOf(Body()), "world");
    Select(5, 5);
    SendMessageA(Body(), WM_COMMAND, IDM_PASTE, 0);
    EXPECT_EQ(TextOf(Body()), "worldhello ");
    Select(0, 5);
    SendMessageA(Body(), WM_COMMAND, IDM_COPY, 0);
    Select(0, -1);
    SendMessageA(Body(), WM_COMMAND, IDM_PASTE, 0);
    EXPECT_EQ(TextOf(Body()), "world");
    SendMessageA(Body(), WM_COMMAND, IDM_UNDO, 0);
    EXPECT_EQ(TextOf(Body()), "worldhello ");
}

TEST_F(BodyEditor, DroppedFilesAreAttached) {
    const std::string note = folder_ + "Dropped Note.txt";
    WriteWholeFile(note, "dropped on the body");
    SendMessageA(Body(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({note})), 0);
    PumpMessages();
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(std::string(attachmentTable.slots[0].path), Lower(folder_) + "dropped note.txt");
    EXPECT_EQ(TextOf(Body()), "");
}

} // namespace
