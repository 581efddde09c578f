// The line grid a message is printed on: lines of the printer font from the top of the printable
// area, the header block on the first page and the body after it. A body line wider than the
// paper continues on the next printed lines, and the pages count printed lines.
#pragma once

#include <string>
#include <vector>

// Lines 0 to 8 of the first page hold the header block; the body starts on line 9.
constexpr int kFirstBodyLine = 9;

// The printer font as the device reports it, in device pixels.
struct PrinterFont {
    int height;
    int externalLeading;
    int averageCharacterWidth;
};

struct PageMetrics {
    int lineHeight; // text height plus external leading
    int charactersPerLine;
    int linesPerPage;
};

// The grid of a printable area of the given size; false when a page cannot hold the header
// block and a body line, or a line not one character.
bool MeasurePage(const PrinterFont& font, int printableWidth, int printableHeight,
                 PageMetrics& page);

// The printed lines of the body text: each of its lines (ended by CR LF, CR or LF) in pieces of
// at most charactersPerLine characters, broken after the last blank in reach when there is one
// (the blanks at a break are not printed), else at exactly charactersPerLine. Control characters
// print as blanks; an empty line is one empty printed line.
std::vector<std::string> PrintedBodyLines(const std::string& body, int charactersPerLine);

// The pages that hold the header block and the given number of printed body lines; at least 1.
long long PageCount(long long printedLines, int linesPerPage);

// The printed body line that line `line` of page `page` (both from 0) shows; negative on the
// header block's lines of the first page. The caller stops at the printed line count.
long long PrintedLineAt(long long page, int line, int linesPerPage);

// The number of pages that go to the printer for `copies` copies of the document.
long long SheetCount(long long pageCount, int copies);

// The page printed as the sheet-th of SheetCount sheets: collated copies run through the
// document once per copy (1 2 3 1 2 3), uncollated ones repeat each page (1 1 2 2 3 3).
long long PageOfSheet(long long sheet, long long pageCount, int copies, bool collate);
