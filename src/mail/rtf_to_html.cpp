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

// Kept from one segment to the next: a run of control words changes only what it names, the
// way the editor writes its stream (\b turns bold on and \b0 off again; \plain ends bold,
// italic and underline).
struct ConversionState {
    int fontIndex = 0;
    int colourIndex = 0;
    int htmlSize = 1;
    bool divOpen = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// What one control run holds besides format changes.
struct RunBreaks {
    int pars = 0; // \par words: paragraph ends
    int tabs = 0; // \tab words
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

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The length of the escape at p that stands for text: an escaped brace or backslash (2), or a
// character written as \'hh (4); 0 for anything else.
size_t TextEscapeLength(const char* p, const char* end) {
    if (end - p < 2 || p[0] != '\\') {
        return 0;
    }
    if (p[1] == '{' || p[1] == '}' || p[1] == '\\') {
        return 2;
    }
    if (p[1] == '\'' && end - p >= 4 && IsHexDigit(p[2]) && IsHexDigit(p[3])) {
        return 4;
    }
    return 0;
}

// The end of the text that starts at text: the next control word or symbol that is not one of
// the text escapes, or the next group brace, or end.
const char* FindTextEnd(const char* text, const char* end) {
    const char* p = text;
    while (p < end) {
        const size_t escape = TextEscapeLength(p, end);
        if (escape != 0) {
            p += escape;
            continue;
        }
        if (*p == '\\' || *p == '{' || *p == '}') {
            break;
        }
        ++p;
    }
    return p;
}

// Skips the group that opens at p (a brace), nested groups and escapes included; end when it
// is not closed.
const char* SkipGroup(const char* p, const char* end) {
    int depth = 0;
    while (p < end) {
        if (*p == '\\' && end - p >= 2) {
            p += 2;
            continue;
        }
        if (*p == '{') {
            ++depth;
        } else if (*p == '}' && --depth == 0) {
            return p + 1;
        }
        ++p;
    }
    return end;
}

// A control word's numeric parameter at *p (an optional minus and digits), held at the limits
// of int; *present is false when there is none.
int ReadParameter(const char** p, const char* end, bool* present) {
    const char* q = *p;
    const bool negative = q < end && *q == '-' && end - q >= 2 && q[1] >= '0' && q[1] <= '9';
    if (negative) {
        ++q;
    }
    long long magnitude = 0;
    *present = false;
    while (q < end && *q >= '0' && *q <= '9') {
        *present = true;
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (*q - '0');
        }
        ++q;
    }
    *p = q;
    if (negative) {
        return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                               : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

void ApplyWord(const char* name, bool hasParameter, int parameter, ConversionState& state,
               RunBreaks& breaks) {
    const bool on = !hasParameter || parameter != 0;
    if (strcmp(name, "par") == 0) {
        ++breaks.pars;
    } else if (strcmp(name, "tab") == 0) {
        ++breaks.tabs;
    } else if (strcmp(name, "plain") == 0) {
        state.bold = false;
        state.italic = false;
        state.underline = false;
    } else if (strcmp(name, "f") == 0 && hasParameter) {
        state.fontIndex = parameter;
    } else if (strcmp(name, "fs") == 0 && hasParameter) {
        // 11 points and other sizes without an HTML size keep the previous one.
        const int htmlSize = HtmlSizeForPoints(parameter / 2);
        if (htmlSize != 0) {
            state.htmlSize = htmlSize;
        }
    } else if (strcmp(name, "cf") == 0 && hasParameter) {
        state.colourIndex = parameter;
    } else if (strcmp(name, "b") == 0) {
        state.bold = on;
    } else if (strcmp(name, "i") == 0) {
        state.italic = on;
    } else if (strcmp(name, "ulnone") == 0) {
        state.underline = false;
    } else if (strncmp(name, "ul", 2) == 0) {
        state.underline = on;
    }
}

// Reads the control run at p and returns where its text starts. The run is a sequence of
// control words and symbols; a blank after a word ends it and is taken (unless another word
// follows at once), any other character that is not a control word starts the text. Line breaks
// between words belong to the run, as do ignorable groups ({\* ...}) and bare group braces.
const char* ReadControlRun(const char* p, const char* end, ConversionState& state,
                           RunBreaks& breaks) {
    while (p < end) {
        if (*p == '\r' || *p == '\n' || *p == '}') {
            ++p;
            continue;
        }
        if (*p == '{') {
            p = end - p >= 3 && p[1] == '\\' && p[2] == '*' ? SkipGroup(p, end) : p + 1;
            continue;
        }
        if (*p != '\\' || TextEscapeLength(p, end) != 0) {
            break; // text
        }
        if (end - p < 2) {
            ++p; // a backslash at the very end of the body
            continue;
        }
        if (!IsLetter(p[1])) {
            p += 2; // a control symbol such as \~ or \-
            continue;
        }
        char name[32];
        size_t nameLength = 0;
        for (++p; p < end && IsLetter(*p); ++p) {
            if (nameLength < sizeof name - 1) {
                name[nameLength++] = *p;
            }
        }
        name[nameLength] = '\0';
        bool hasParameter = false;
        const int parameter = ReadParameter(&p, end, &hasParameter);
        ApplyWord(name, hasParameter, parameter, state, breaks);
        if (p < end && *p == ' ') {
            ++p;
            // Words written after the blank, with no text between, go on with the same run.
            if (!(end - p >= 2 && p[0] == '\\' && IsLetter(p[1]))) {
                return p;
            }
        }
    }
    return p;
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

// Escapes the text into out (when not nullptr) and returns the length of the result: every
// double quote, ampersand, less-than and greater-than sign becomes its entity. In body text an
// escaped brace shows as a blank and the brace, an escaped backslash as one backslash and \'hh
// as the byte hh (\'00 as nothing); a face name has no such escapes.
size_t EscapeText(const char* text, size_t length, bool bodyText, char* out) {
    const char* const end = text + length;
    size_t used = 0;
    for (const char* p = text; p < end;) {
        const size_t escape = bodyText ? TextEscapeLength(p, end) : 0;
        char c = *p;
        if (escape == 4) {
            c = static_cast<char>(HexValue(p[2]) * 16 + HexValue(p[3]));
            if (c == '\0') {
                p += escape; // a NUL would end the HTML text there: it is left out
                continue;
            }
        } else if (escape == 2) {
            c = p[1];
            if (c != '\\') {
                if (out != nullptr) {
                    out[used] = ' '; // the escape of a brace
                }
                ++used;
            }
        }
        const char* entity = EntityFor(c);
        const size_t entityLength = entity != nullptr ? strlen(entity) : 1;
        if (out != nullptr) {
            memcpy(out + used, entity != nullptr ? entity : &c, entityLength);
        }
        used += entityLength;
        p += escape != 0 ? escape : 1;
    }
    return used;
}

// Writes the escaped text through a block of its own sized for it.
bool WriteEscaped(HtmlOutput& out, const char* text, size_t length, bool bodyText) {
    const size_t escapedLength = EscapeText(text, length, bodyText, nullptr);
    char* escaped = static_cast<char*>(malloc(escapedLength + 1));
    if (escaped == nullptr) {
        return false;
    }
    EscapeText(text, length, bodyText, escaped);
    escaped[escapedLength] = '\0';
    const bool written = Write(out, escaped, escapedLength);
    free(escaped);
    return written;
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

// One segment: a paragraph end first closes the open DIV; the text goes into a FONT element
// inside the open DIV, after the tab indents, with the style elements around it.
bool WriteSegment(HtmlOutput& out, const RtfTables& tables, ConversionState& state, bool par,
                  int tabs, const char* text, size_t textLength) {
    if (par && state.divOpen) {
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
    if ((state.bold && !Write(out, "<STRONG>")) || (state.italic && !Write(out, "<EM>")) ||
        (state.underline && !Write(out, "<U>"))) {
        return false;
    }
    if (!WriteFontStart(out, tables, state)) {
        return false;
    }
    for (int i = 0; i < tabs; ++i) {
        if (!Write(out, kTabIndent)) {
            return false;
        }
    }
    const bool written = tabs == 0 && textLength == 2 && text[0] == '\r' && text[1] == '\n'
                             ? Write(out, kNbsp)
                             : WriteEscaped(out, text, textLength, true);
    if (!written || (state.bold && !Write(out, "</STRONG>")) ||
        (state.italic && !Write(out, "</EM>")) || (state.underline && !Write(out, "</U>"))) {
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

// The end of the body: the document's closing brace (its last brace that is not escaped), less
// the blank or line breaks in front of it. nullptr when the body has no closing brace.
const char* FindBodyEnd(const char* body) {
    const char* close = nullptr;
    for (const char* p = body; *p != '\0'; ++p) {
        if (*p == '\\' && p[1] != '\0') {
            ++p;
        } else if (*p == '}') {
            close = p;
        }
    }
    if (close == nullptr) {
        return nullptr;
    }
    while (close > body && (close[-1] == ' ' || close[-1] == '\r' || close[-1] == '\n')) {
        --close;
    }
    return close;
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
    const char* bodyEnd = FindBodyEnd(body);
    if (bodyEnd == nullptr) {
        return false;
    }
    if (!Write(out, "<HTML>\n<BODY>\n")) {
        return false;
    }
    ConversionState state;
    const char* position = body;
    while (position < bodyEnd) {
        RunBreaks breaks;
        const char* text = ReadControlRun(position, bodyEnd, state, breaks);
        const char* textEnd = FindTextEnd(text, bodyEnd);
        const size_t textLength = static_cast<size_t>(textEnd - text);
        // Paragraph ends that follow each other without text between them are empty lines.
        for (int i = 1; i < breaks.pars; ++i) {
            if (!WriteSegment(out, tables, state, true, 0, "\r\n", 2)) {
                return false;
            }
        }
        // A run that only changes the format writes nothing of its own.
        if ((breaks.pars > 0 || breaks.tabs > 0 || textLength > 0) &&
            !WriteSegment(out, tables, state, breaks.pars > 0, breaks.tabs, text, textLength)) {
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
