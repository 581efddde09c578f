#include "compose/win/font_list.h"

#include <cstdlib>
#include <vector>

#include "base/win/message_box.h"

FontList fontList = {};

namespace {

struct StyleCollector {
    FontRecord* record; // nullptr while only counting
    int count;
};

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data) {
    auto* faces = reinterpret_cast<std::vector<FontFaceName>*>(data);
    AddOfferedFace(*faces, font->lfFaceName, (type & TRUETYPE_FONTTYPE) != 0);
    return 1;
}

int CALLBACK CollectStyle(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD type,
                          LPARAM data) {
    auto* collector = reinterpret_cast<StyleCollector*>(data);
    if (!(type & TRUETYPE_FONTTYPE)) {
        return 1;
    }
    FontRecord* record = collector->record;
    if (record) {
        if (collector->count >= record->styleCount) {
            return 0; // more styles than the first pass counted
        }
        record->logFonts[collector->count] = *font;
        record->textMetrics[collector->count] = *metrics;
        record->fontTypes[collector->count] = type;
    }
    ++collector->count;
    return 1;
}

void EnumerateStyles(HDC dc, const char* face, StyleCollector& collector) {
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    EnumFontFamiliesExA(dc, &wanted, CollectStyle, reinterpret_cast<LPARAM>(&collector), 0);
}

void FreeRecord(FontRecord& record) {
    std::free(record.logFonts);
    std::free(record.textMetrics);
    std::free(record.fontTypes);
    record = FontRecord{};
}

// Fills `record` with the styles of `face`: 1 done, 0 the face has no TrueType style,
// -1 an allocation failed.
int FillRecord(HDC dc, const char* face, FontRecord& record) {
    StyleCollector counter = {nullptr, 0};
    EnumerateStyles(dc, face, counter);
    if (counter.count == 0) {
        return 0;
    }
    const size_t styles = static_cast<size_t>(counter.count);
    record.logFonts = static_cast<LOGFONTA*>(std::calloc(styles, sizeof(LOGFONTA)));
    record.textMetrics = static_cast<TEXTMETRICA*>(std::calloc(styles, sizeof(TEXTMETRICA)));
    record.fontTypes = static_cast<DWORD*>(std::calloc(styles, sizeof(DWORD)));
    if (!record.logFonts || !record.textMetrics || !record.fontTypes) {
        FreeRecord(record);
        return -1;
    }
    record.styleCount = counter.count;
    lstrcpynA(record.face, face, sizeof record.face);
    StyleCollector collector = {&record, 0};
    EnumerateStyles(dc, face, collector);
    record.styleCount = collector.count; // a face removed meanwhile leaves fewer
    return 1;
}

} // namespace

int BuildFontList(HDC dc) {
    FreeFontList();
    std::vector<FontFaceName> faces;
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &all, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    if (faces.empty()) {
        return 0;
    }
    fontList.records = static_cast<FontRecord*>(std::calloc(faces.size(), sizeof(FontRecord)));
    if (!fontList.records) {
        ShowMessageBox(nullptr, "alloc failed", nullptr, MB_OK);
        return 0;
    }
    for (const FontFaceName& face : faces) {
        const int filled = FillRecord(dc, face.text, fontList.records[fontList.count]);
        if (filled < 0) {
            ShowMessageBox(nullptr, "alloc failed", nullptr, MB_OK);
            break;
        }
        if (filled > 0) {
            ++fontList.count;
        }
    }
    return fontList.count;
}

void FreeFontList() {
    for (int i = 0; i < fontList.count; ++i) {
        FreeRecord(fontList.records[i]);
    }
    std::free(fontList.records);
    fontList = FontList{};
}

const char* FontRecordFace(int index) {
    if (index < 0 || index >= fontList.count) {
        return nullptr;
    }
    return fontList.records[index].face;
}
