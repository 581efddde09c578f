#include "mail/rtf_to_html.h"

#include "mail/append_buffer.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kRtfStart[] = "{\\rtf1\\";
constexpr size_t kRtfStartLength = sizeof(kRtfStart) - 1;
constexpr char kFontTableStart[] = "{\\fonttbl";
constexpr char kColourTableStart[] = "{\\colortbl";
constexpr char kTabIndent[] = "&nbsp;&nbsp;&nbsp;&nbsp; ";
constexpr char kNbsp[] = "&nbsp;";
constexpr size_t kNbspLength = sizeof(kNbsp) - 1;

struct RtfTables {
    char faceNames[kRtfFontCount][kRtfFaceNameSize];
    uint32_t colours[kRtfColourCount];
    int colourCount;
};

// Kept from one segment to the next.
struct ConversionState {
    int fontIndex = 0;
    int colourIndex = 0;
    int htmlSize = 1;
    bool divOpen = false;
};

// Reset at the start of every segment.
struct SegmentFlags {
    int fontSize = 10; // half-points
    bool tab = false;
    bool par = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct HtmlOutput {
    char* block;
    size_t used;
    size_t capacity;
};

bool Write(HtmlOutput& out, const char* data, size_t length) {
    return AppendToBuffer(&out.block, &out.used, &out.capacity, data, length) != 0;
}

bool Write(HtmlOutput& out, const char* text) {
    return Write(out, text, strlen(text));
}

// The first occurrence of pattern in [begin, end), or nullptr.
const char* FindWithin(const char* begin, const char* end, const char* pattern) {
    size_t patternLength = strlen(pattern);
    for (const char* p = begin; p < end && static_cast<size_t>(end - p) >= patternLength; ++p) {
        if (memcmp(p, pattern, patternLength) == 0) {
            return p;
        }
    }
    return nullptr;
}

// Matches the literal word at *p within end and moves past it.
bool MatchLiteral(const char** p, const char* end, const char* word) {
    size_t length = strlen(word);
    if (static_cast<size_t>(end - *p) < length || memcmp(*p, word, length) != 0) {
        return false;
    }
    *p += length;
    return true;
}

// Reads a decimal number at *p within end the way "%d" does (leading white space skipped, an
// optional sign) and moves past it. Values beyond int are held at its limits.
bool ReadNumber(const char** p, const char* end, int* value) {
    const char* q = *p;
    while (q < end && (*q == ' ' || *q == '\t' || *q == '\r' || *q == '\n')) {
        ++q;
    }
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    if (q >= end || *q < '0' || *q > '9') {
        return false;
    }
    long long magnitude = 0;
    for (; q < end && *q >= '0' && *q <= '9'; ++q) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (*q - '0');
        }
    }
    if (negative) {
        *value = magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                                 : static_cast<int>(-magnitude);
    } else {
        *value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    *p = q;
    return true;
}

// Font table entries look like {\f2\fswiss Arial;}: the number follows the first three
// characters and the face name the first blank. Numbers outside the table are skipped, and long
// face names are cut to the entry size.
bool ReadFontTable(const char* rtf, RtfTables& tables) {
    int at = FindIndex(rtf + kRtfStartLength, kFontTableStart);
    if (at < 0) {
        return false;
    }
    const char* table = rtf + kRtfStartLength + at + strlen(kFontTableStart);
    int close = FindIndex(table, ";}}");
    if (close < 0) {
        return false;
    }
    const char* tableEnd = table + close + 2;
    const char* entry = table;
    while (entry < tableEnd) {
        int stop = FindIndex(entry, ";}");
        if (stop < 0) {
            return false;
        }
        const char* entryEnd = entry + stop + 2;
        const char* blank = static_cast<const char*>(memchr(entry, ' ', entryEnd - entry));
        if (blank == nullptr) {
            return false;
        }
        const char* numberAt = entry + 3; // the blank lies past "{\f", so this is inside
        int number = -1;
        if (ReadNumber(&numberAt, entryEnd, &number) && number >= 0 && number < kRtfFontCount) {
            const char* name = blank + 1;
            size_t nameLength = static_cast<size_t>(entryEnd - 2 - name);
            if (nameLength > kRtfFaceNameSize - 1) {
                nameLength = kRtfFaceNameSize - 1;
            }
            memcpy(tables.faceNames[number], name, nameLength);
            tables.faceNames[number][nameLength] = '\0';
        }
        entry = entryEnd;
    }
    return true;
}

int ColourComponent(int value) {
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

// Colour entries look like \red255\green0\blue0; an entry of only ";" is black. Returns the
// start of the body, right after the table's ";}", or nullptr.
const char* ReadColourTable(const char* rtf, RtfTables& tables) {
    int at = FindIndex(rtf, kColourTableStart);
    if (at < 0) {
        return nullptr;
    }
    const char* table = rtf + at + strlen(kColourTableStart);
    int close = FindIndex(table, ";}");
    if (close < 0) {
        return nullptr;
    }
    const char* tableEnd = table + close + 1;
    const char* entry = table;
    while (entry < tableEnd) {
        int stop = FindIndex(entry, ";");
        if (stop < 0) {
            return nullptr;
        }
        const char* entryEnd = entry + stop + 1;
        int rgb[3] = {0, 0, 0};
        const char* const words[3] = {"\\red", "\\green", "\\blue"};
        const char* p = entry;
        for (int i = 0; i < 3; ++i) {
            if (!MatchLiteral(&p, entryEnd, words[i]) || !ReadNumber(&p, entryEnd, &rgb[i])) {
                break;
            }
        }
        if (tables.colourCount < kRtfColourCount) {
            tables.colours[tables.colourCount++] = ColourComponent(rgb[0]) * 65536u +
                                                   ColourComponent(rgb[1]) * 256u +
                                                   ColourComponent(rgb[2]);
        }
        entry = entryEnd;
    }
    return table + close + 2;
}

// The end of the text that starts at text: the next backslash that starts a control word, or
// text itself when none follows. Escaped braces and backslashes belong to the text.
const char* FindTextEnd(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p != '\\') {
            continue;
        }
        if (p[1] == '{' || p[1] == '}' || p[1] == '\\') {
            ++p;
            continue;
        }
        return p;
    }
    return text;
}

const char* EntityFor(char c) {
    switch (c) {
    case '"':
        return "&quot;";
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    default:
        return nullptr;
    }
}

// Writes the text with HTML entities into a block of its own sized for them, then appends it.
// In body text an escaped brace shows as a blank and the brace, an escaped backslash as one
// backslash; a face name has no such escapes.
bool WriteEscaped(HtmlOutput& out, const char* text, size_t length, bool bodyText) {
    size_t escapedLength = 0;
    for (size_t i = 0; i < length; ++i) {
        const char* entity = EntityFor(text[i]);
        if (entity != nullptr) {
            escapedLength += strlen(entity);
        } else if (bodyText && text[i] == '\\' && i + 1 < length && text[i + 1] == '\\') {
            escapedLength += 1;
            ++i;
        } else {
            escapedLength += 1;
        }
    }
    char* escaped = static_cast<char*>(malloc(escapedLength + 1));
    if (escaped == nullptr) {
        return false;
    }
    char* q = escaped;
    for (size_t i = 0; i < length; ++i) {
        const char* entity = EntityFor(text[i]);
        if (entity != nullptr) {
            size_t entityLength = strlen(entity);
            memcpy(q, entity, entityLength);
            q += entityLength;
        } else if (bodyText && text[i] == '\\' && i + 1 < length && text[i + 1] == '\\') {
            *q++ = '\\';
            ++i;
        } else if (bodyText && text[i] == '\\') {
            *q++ = ' '; // the escape of a brace
        } else {
            *q++ = text[i];
        }
    }
    *q = '\0';
    bool written = Write(out, escaped, escapedLength);
    free(escaped);
    return written;
}

// The HTML font size for a size in points; 0 when the size has none.
int HtmlSizeForPoints(int points) {
    switch (points) {
    case 8:
        return 1;
    case 10:
        return 2;
    case 12:
        return 3;
    case 14:
        return 4;
    case 18:
        return 5;
    case 24:
        return 6;
    case 36:
        return 7;
    default:
        return 0;
    }
}

// Reads the control words of one run as plain text: substring tests, so \b0 also counts as bold
// and every word starting with \i as italic.
SegmentFlags ReadControlRun(const char* run, const char* runEnd, ConversionState& state) {
    SegmentFlags flags;
    flags.tab = FindWithin(run, runEnd, "\\tab") != nullptr;
    flags.par = FindWithin(run, runEnd, "\\par") != nullptr;
    const char* p = FindWithin(run, runEnd, "\\plain");
    if (p != nullptr && MatchLiteral(&p, runEnd, "\\plain") && MatchLiteral(&p, runEnd, "\\f") &&
        ReadNumber(&p, runEnd, &state.fontIndex) && MatchLiteral(&p, runEnd, "\\fs")) {
        ReadNumber(&p, runEnd, &flags.fontSize);
    }
    p = FindWithin(run, runEnd, "\\cf");
    if (p != nullptr && MatchLiteral(&p, runEnd, "\\cf")) {
        ReadNumber(&p, runEnd, &state.colourIndex);
    }
    flags.bold = FindWithin(run, runEnd, "\\b") != nullptr;
    flags.italic = FindWithin(run, runEnd, "\\i") != nullptr;
    flags.underline = FindWithin(run, runEnd, "\\ul") != nullptr;
    return flags;
}

// The FONT start tag for the current font, colour and size. Fonts and colours outside the
// tables give an empty face name and black; the face name is written with entities.
bool WriteFontStart(HtmlOutput& out, const RtfTables& tables, const ConversionState& state) {
    uint32_t colour = 0;
    if (state.colourIndex >= 0 && state.colourIndex < tables.colourCount) {
        colour = tables.colours[state.colourIndex];
    }
    const char* face = "";
    if (state.fontIndex >= 0 && state.fontIndex < kRtfFontCount) {
        face = tables.faceNames[state.fontIndex];
    }
    char tag[64];
    snprintf(tag, sizeof tag, "<FONT color=#%06x face=\"", static_cast<unsigned>(colour));
    if (!Write(out, tag) || !WriteEscaped(out, face, strlen(face), false)) {
        return false;
    }
    snprintf(tag, sizeof tag, "\" size=%d>", state.htmlSize);
    return Write(out, tag);
}

bool WriteSegment(HtmlOutput& out, const RtfTables& tables, ConversionState& state,
                  const SegmentFlags& flags, const char* text, size_t textLength) {
    if (flags.par && state.divOpen) {
        if (!Write(out, "</DIV>\r\n")) {
            return false;
        }
        state.divOpen = false;
    }
    if (!state.divOpen) {
        if (!Write(out, "<DIV>")) {
            return false;
        }
        state.divOpen = true;
    }
    if ((flags.bold && !Write(out, "<STRONG>")) || (flags.italic && !Write(out, "<EM>")) ||
        (flags.underline && !Write(out, "<U>"))) {
        return false;
    }
    int htmlSize = HtmlSizeForPoints(flags.fontSize / 2);
    if (htmlSize != 0) {
        state.htmlSize = htmlSize;
    }
    if (!WriteFontStart(out, tables, state)) {
        return false;
    }
    bool written;
    if (flags.tab) {
        written = Write(out, kTabIndent) && WriteEscaped(out, text, textLength, true);
    } else if (textLength == 2 && text[0] == '\r' && text[1] == '\n') {
        written = Write(out, kNbsp);
    } else {
        written = WriteEscaped(out, text, textLength, true);
    }
    if (!written || (flags.bold && !Write(out, "</STRONG>")) ||
        (flags.italic && !Write(out, "</EM>")) || (flags.underline && !Write(out, "</U>"))) {
        return false;
    }
    return Write(out, "</FONT>");
}

// Every run of k >= 2 blanks becomes k - 1 times "&nbsp;" and one blank. The text is widened in
// place, from its end backwards.
bool ExpandBlankRuns(HtmlOutput& out) {
    size_t extra = 0;
    for (size_t i = 0; i < out.used;) {
        size_t k = 0;
        while (i < out.used && out.block[i] == ' ') {
            ++k;
            ++i;
        }
        if (k >= 2) {
            if ((k - 1) > (SIZE_MAX - extra) / (kNbspLength - 1)) {
                return false;
            }
            extra += (k - 1) * (kNbspLength - 1);
        }
        if (k == 0) {
            ++i;
        }
    }
    if (extra == 0) {
        return true;
    }
    if (extra > SIZE_MAX - out.used - 1) {
        return false;
    }
    size_t needed = out.used + extra + 1;
    if (out.capacity < needed) {
        size_t growth = needed - out.capacity;
        if (growth < kBufferGrowthStep) {
            growth = kBufferGrowthStep;
        }
        if (growth > SIZE_MAX - out.capacity) {
            return false;
        }
        char* grown = static_cast<char*>(realloc(out.block, out.capacity + growth));
        if (grown == nullptr) {
            return false;
        }
        memset(grown + out.capacity, 0, growth);
        out.block = grown;
        out.capacity += growth;
    }
    size_t from = out.used;
    size_t to = out.used + extra;
    out.block[to] = '\0';
    while (from > 0) {
        if (out.block[from - 1] != ' ') {
            out.block[--to] = out.block[--from];
            continue;
        }
        size_t runStart = from - 1;
        while (runStart > 0 && out.block[runStart - 1] == ' ') {
            --runStart;
        }
        out.block[--to] = ' ';
        for (size_t n = from - runStart - 1; n > 0; --n) {
            to -= kNbspLength;
            memcpy(out.block + to, kNbsp, kNbspLength);
        }
        from = runStart;
    }
    out.used += extra;
    return true;
}

bool ConvertInto(const char* rtf, HtmlOutput& out) {
    if (strncmp(rtf, kRtfStart, kRtfStartLength) != 0) {
        return false;
    }
    RtfTables tables;
    memset(&tables, 0, sizeof tables);
    if (!ReadFontTable(rtf, tables)) {
        return false;
    }
    const char* body = ReadColourTable(rtf, tables);
    if (body == nullptr) {
        return false;
    }
    int bodyLength = FindIndex(body, " }");
    if (bodyLength < 0) {
        return false;
    }
    if (!Write(out, "<HTML>\n<BODY>\n")) {
        return false;
    }
    ConversionState state;
    const char* position = body;
    while (position < body + bodyLength) {
        // The blank of the closing " }" ends the last run at the latest.
        const char* runEnd = strchr(position, ' ') + 1;
        const char* textEnd = FindTextEnd(runEnd);
        SegmentFlags flags = ReadControlRun(position, runEnd, state);
        if (!WriteSegment(out, tables, state, flags, runEnd,
                          static_cast<size_t>(textEnd - runEnd))) {
            return false;
        }
        position = textEnd;
    }
    if (state.divOpen && !Write(out, "</DIV>")) {
        return false;
    }
    return Write(out, "</BODY>\n</HTML>\n") && ExpandBlankRuns(out);
}

} // namespace

char* ConvertRtfToHtml(const char* rtf, char* output, size_t* capacity) {
    if (capacity == nullptr) {
        free(output);
        return nullptr;
    }
    HtmlOutput out = {output, 0, output != nullptr ? *capacity : 0};
    if (rtf == nullptr || !ConvertInto(rtf, out)) {
        free(out.block);
        *capacity = 0;
        return nullptr;
    }
    *capacity = out.capacity;
    return out.block;
}
