// The installed TrueType faces offered by the format bar's font-name box, built once when the
// main window is created and freed at its tear-down.
#pragma once

#include <windows.h>

#include "compose/font_faces.h"

// One face with every TrueType style the system lists for it (one per style and character set).
struct FontRecord {
    char face[kFaceNameSize];
    int styleCount;
    LOGFONTA* logFonts; // styleCount elements each
    TEXTMETRICA* textMetrics;
    DWORD* fontTypes;
};

struct FontList {
    FontRecord* records;
    int count;
};

extern FontList fontList;

// Lists the faces of the device context. A failed allocation shows "alloc failed" and keeps
// the faces listed so far. Returns the number of records.
int BuildFontList(HDC dc);

void FreeFontList();

// The face name of record `index`, or nullptr when there is no such record.
const char* FontRecordFace(int index);
