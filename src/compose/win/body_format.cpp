#include "compose/win/body_format.h"

#include "compose/format_tables.h"

namespace {

CHARFORMATA EmptyFormat(DWORD mask) {
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    return format;
}

WPARAM Scope(bool selectionOnly) {
    return selectionOnly ? SCF_SELECTION : SCF_ALL;
}

void Apply(HWND body, CHARFORMATA& format, bool selectionOnly) {
    SendMessageA(body, EM_SETCHARFORMAT, Scope(selectionOnly), reinterpret_cast<LPARAM>(&format));
    SendMessageA(body, EM_SETMODIFY, TRUE, 0);
}

void Toggle(HWND body, DWORD mask, DWORD effect, bool selectionOnly) {
    const CHARFORMATA current = ReadSelectionFormat(body);
    // A selection that is partly bold (say) has no common value: it becomes bold throughout.
    const bool onThroughout = (current.dwMask & mask) && (current.dwEffects & effect);
    CHARFORMATA format = EmptyFormat(mask);
    format.dwEffects = onThroughout ? 0 : effect;
    Apply(body, format, selectionOnly);
}

} // namespace

CHARFORMATA ReadSelectionFormat(HWND body) {
    CHARFORMATA format = EmptyFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_SIZE |
                                     CFM_COLOR | CFM_CHARSET);
    SendMessageA(body, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

void SetFace(HWND body, const char* face, bool selectionOnly) {
    CHARFORMATA format = EmptyFormat(CFM_FACE | CFM_CHARSET);
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = 0;
    lstrcpynA(format.szFaceName, face, LF_FACESIZE);
    Apply(body, format, selectionOnly);
}

void SetSize(HWND body, int points, bool selectionOnly) {
    CHARFORMATA format = EmptyFormat(CFM_SIZE);
    format.yHeight = TwipsFromPoints(points);
    Apply(body, format, selectionOnly);
}

void SetColour(HWND body, COLORREF colour, bool selectionOnly) {
    CHARFORMATA format = EmptyFormat(CFM_COLOR);
    format.dwEffects = 0; // not the automatic colour
    format.crTextColor = colour;
    Apply(body, format, selectionOnly);
}

void ToggleBold(HWND body, bool selectionOnly) {
    Toggle(body, CFM_BOLD, CFE_BOLD, selectionOnly);
}

void ToggleItalic(HWND body, bool selectionOnly) {
    Toggle(body, CFM_ITALIC, CFE_ITALIC, selectionOnly);
}

void ToggleUnderline(HWND body, bool selectionOnly) {
    Toggle(body, CFM_UNDERLINE, CFE_UNDERLINE, selectionOnly);
}

void SetDefaultBodyFormat(HWND body) {
    CHARFORMATA format =
        EmptyFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_COLOR | CFM_SIZE);
    format.dwEffects = 0;
    format.yHeight = TwipsFromPoints(kFormatSizes[kDefaultSizeEntry]);
    format.crTextColor = kFormatColours[kDefaultColourEntry];
    lstrcpynA(format.szFaceName, kDefaultFontFace, LF_FACESIZE);
    // The control's default format serves text typed into an empty body.
    SendMessageA(body, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(body, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageA(body, EM_SETBKGNDCOLOR, 0, kBodyBackgroundColour);
}

COLORREF TextColourOf(const CHARFORMATA& format) {
    if (format.dwEffects & CFE_AUTOCOLOR) {
        return GetSysColor(COLOR_WINDOWTEXT);
    }
    return format.crTextColor;
}
