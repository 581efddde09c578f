#include "compose/win/format_bar.h"

#include <cstdio>
#include <cstring>

#include "base/win/scoped_handles.h"
#include "compose/format_tables.h"
#include "compose/win/body_format.h"
#include "compose/win/compose_windows.h"
#include "compose/win/font_list.h"
#include "resources/resource_ids.h"

namespace {

// Bold, italic, underline: a button is on while its counter is odd.
unsigned formatToggleCounters[3] = {};

int ToggleIndex(int id) {
    return id >= IDC_BOLD_BUTTON && id <= IDC_UNDERLINE_BUTTON ? id - IDC_BOLD_BUTTON : -1;
}

HWND ToggleButton(int index) {
    const HWND buttons[3] = {composeWindows.boldButton, composeWindows.italicButton,
                             composeWindows.underlineButton};
    return buttons[index];
}

// Steps the counter when the button disagrees with the effect found in `format`; a selection
// that is only partly bold (say) leaves the button as it is.
void FollowEffect(int index, const CHARFORMATA& format) {
    static const DWORD kMasks[3] = {CFM_BOLD, CFM_ITALIC, CFM_UNDERLINE};
    static const DWORD kEffects[3] = {CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE};
    if (!(format.dwMask & kMasks[index])) {
        return;
    }
    const bool on = (format.dwEffects & kEffects[index]) != 0;
    if (on != FormatToggleOn(IDC_BOLD_BUTTON + index)) {
        ++formatToggleCounters[index];
        InvalidateRect(ToggleButton(index), nullptr, FALSE);
    }
}

void SelectEntry(HWND box, int entry) {
    if (box && entry >= 0) {
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    }
}

// The first entry whose text is exactly `face`, or -1.
int FindFaceEntry(const char* face) {
    const int count = static_cast<int>(SendMessageA(composeWindows.fontNameBox, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[LF_FACESIZE];
        const LRESULT length = SendMessageA(composeWindows.fontNameBox, CB_GETLBTEXTLEN, i, 0);
        if (length < 0 || length >= LF_FACESIZE) {
            continue;
        }
        SendMessageA(composeWindows.fontNameBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        if (std::strcmp(text, face) == 0) {
            return i;
        }
    }
    return -1;
}

void FillSizeBox() {
    for (int points : kFormatSizes) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", points);
        SendMessageA(composeWindows.fontSizeBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

// The box sorts its entries; each keeps the index of its record as item data.
void FillFontNameBox(HWND mainWindow) {
    const int count = BuildFontList(WindowDc(mainWindow).get());
    for (int i = 0; i < count; ++i) {
        const LRESULT entry = SendMessageA(composeWindows.fontNameBox, CB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(FontRecordFace(i)));
        if (entry >= 0) {
            SendMessageA(composeWindows.fontNameBox, CB_SETITEMDATA, static_cast<WPARAM>(entry), i);
        }
    }
}

void FillColourBox() {
    for (uint32_t colour : kFormatColours) {
        const LRESULT entry =
            SendMessageA(composeWindows.colourBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" "));
        if (entry >= 0) {
            SendMessageA(composeWindows.colourBox, CB_SETITEMDATA, static_cast<WPARAM>(entry),
                         colour);
        }
    }
}

int SelectedEntry(HWND box) {
    return static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0));
}

bool ChooseFace(HWND body) {
    const int entry = SelectedEntry(composeWindows.fontNameBox);
    if (entry < 0) {
        return false;
    }
    const LRESULT record = SendMessageA(composeWindows.fontNameBox, CB_GETITEMDATA, entry, 0);
    const char* face = FontRecordFace(static_cast<int>(record));
    if (!face) {
        return false;
    }
    SetFace(body, face, true);
    return true;
}

bool ChooseSize(HWND body) {
    const int entry = SelectedEntry(composeWindows.fontSizeBox);
    if (entry < 0 || entry >= kFormatSizeCount) {
        return false;
    }
    SetSize(body, kFormatSizes[entry], true);
    return true;
}

bool ChooseColour(HWND body) {
    const int entry = SelectedEntry(composeWindows.colourBox);
    if (entry < 0 || entry >= kFormatColourCount) {
        return false;
    }
    SetColour(body, kFormatColours[entry], true);
    return true;
}

// A box's entry counts as chosen when the user confirms it in the open list (a click or Enter)
// or steps to it while the list is closed. Stepping through the open list with the arrow keys
// chooses nothing yet: the list stays open for the next key. The system may announce one choice
// twice (confirmed, then changed); applying it again changes nothing.
bool ChoiceIsMade(HWND box, int notification) {
    if (notification == CBN_SELENDOK) {
        return true;
    }
    return notification == CBN_SELCHANGE && !SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0);
}

void ClickToggle(HWND body, int index) {
    static void (*const kToggles[3])(HWND, bool) = {ToggleBold, ToggleItalic, ToggleUnderline};
    kToggles[index](body, true);
    FollowEffect(index, ReadSelectionFormat(body));
}

} // namespace

void InitFormatBar(HWND mainWindow) {
    FillSizeBox();
    FillFontNameBox(mainWindow);
    FillColourBox();
    SendMessageA(composeWindows.fontNameBox, WM_SETFONT,
                 reinterpret_cast<WPARAM>(composeWindows.uiFont), TRUE);
    SendMessageA(composeWindows.fontSizeBox, WM_SETFONT,
                 reinterpret_cast<WPARAM>(composeWindows.uiFont), TRUE);
    ResetBodyFormat();
}

bool OnFormatBarCommand(HWND mainWindow, int id, int notification) {
    HWND body = composeWindows.bodyEditor;
    if (!body) {
        return false;
    }
    const int toggle = ToggleIndex(id);
    if (toggle >= 0) {
        if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED) {
            return false;
        }
        ClickToggle(body, toggle);
        return true;
    }
    HWND box = GetDlgItem(mainWindow, id);
    if (notification == CBN_SELENDCANCEL) {
        UpdateFormatBar(); // a list left with Escape shows the caret's format again
        return false;
    }
    if (!ChoiceIsMade(box, notification)) {
        return false;
    }
    switch (id) {
    case IDC_FONT_NAME_BOX:
        return ChooseFace(body);
    case IDC_FONT_SIZE_BOX:
        return ChooseSize(body);
    case IDC_COLOUR_BOX:
        return ChooseColour(body);
    default:
        return false;
    }
}

void UpdateFormatBar() {
    if (!composeWindows.bodyEditor) {
        return;
    }
    const CHARFORMATA format = ReadSelectionFormat(composeWindows.bodyEditor);
    for (int i = 0; i < 3; ++i) {
        FollowEffect(i, format);
    }
    if (format.dwMask & CFM_COLOR) {
        SelectEntry(composeWindows.colourBox, FindColourEntry(TextColourOf(format)));
    }
    if (format.dwMask & CFM_FACE) {
        SelectEntry(composeWindows.fontNameBox, FindFaceEntry(format.szFaceName));
    }
    if (format.dwMask & CFM_SIZE) {
        SelectEntry(composeWindows.fontSizeBox, FindSizeEntry(PointsFromTwips(format.yHeight)));
    }
}

void ResetBodyFormat() {
    if (composeWindows.bodyEditor) {
        SetDefaultBodyFormat(composeWindows.bodyEditor);
    }
    SelectEntry(composeWindows.colourBox, kDefaultColourEntry);
    SelectEntry(composeWindows.fontNameBox, FindFaceEntry(kDefaultFontFace));
    SelectEntry(composeWindows.fontSizeBox, kDefaultSizeEntry);
    for (int i = 0; i < 3; ++i) {
        if (formatToggleCounters[i] % 2 != 0) {
            ++formatToggleCounters[i];
            InvalidateRect(ToggleButton(i), nullptr, FALSE);
        }
    }
}

void DrawColourBoxItem(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlID != IDC_COLOUR_BOX) {
        return;
    }
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    // The margin around the colour shows whether the entry is the highlighted one.
    const int margin = (item->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW;
    FillRect(dc, &rect, GetSysColorBrush(margin));
    if (item->itemID >= static_cast<UINT>(kFormatColourCount)) {
        return; // no entry (an empty box draws item -1)
    }
    InflateRect(&rect, -2, -2);
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(kFormatColours[item->itemID]));
    const SelectedObject selected(dc, brush.get());
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

bool FormatToggleOn(int id) {
    const int index = ToggleIndex(id);
    return index >= 0 && formatToggleCounters[index] % 2 != 0;
}

void ReleaseFormatBar() {
    FreeFontList();
}
