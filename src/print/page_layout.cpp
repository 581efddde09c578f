#include "print/page_layout.h"

bool MeasurePage(const PrinterFont& font, int printableWidth, int printableHeight,
                 PageMetrics& page) {
    const long long lineHeight = static_cast<long long>(font.height) + font.externalLeading;
    if (lineHeight <= 0 || font.averageCharacterWidth <= 0) {
        return false;
    }
    const long long charactersPerLine = printableWidth / font.averageCharacterWidth;
    const long long linesPerPage = printableHeight / lineHeight;
    if (charactersPerLine < 1 || linesPerPage <= kFirstBodyLine) {
        return false;
    }
    page.lineHeight = static_cast<int>(lineHeight);
    page.charactersPerLine = static_cast<int>(charactersPerLine);
    page.linesPerPage = static_cast<int>(linesPerPage);
    return true;
}

namespace {

void WrapLine(std::string line, size_t width, std::vector<std::string>& printed) {
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    size_t start = 0;
    while (line.size() - start > width) {
        // Break after the last word that fits; a piece without a blank is cut at the width.
        size_t cut = start + width;
        size_t next = cut;
        const size_t blank = line.rfind(' ', start + width);
        if (blank != std::string::npos && blank > start) {
            size_t end = blank;
            while (end > start && line[end - 1] == ' ') {
                --end;
            }
            if (end > start) {
                cut = end;
                next = line.find_first_not_of(' ', blank);
            }
        }
        printed.push_back(line.substr(start, cut - start));
        if (next == std::string::npos) {
            return; // only blanks were left
        }
        start = next;
    }
    printed.push_back(line.substr(start));
}

} // namespace

std::vector<std::string> PrintedBodyLines(const std::string& body, int charactersPerLine) {
    const size_t width = charactersPerLine > 0 ? static_cast<size_t>(charactersPerLine) : 1;
    std::vector<std::string> printed;
    size_t start = 0;
    for (;;) {
        const size_t end = body.find_first_of("\r\n", start);
        WrapLine(body.substr(start, end - start), width, printed);
        if (end == std::string::npos) {
            return printed;
        }
        start = end + (body.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

long long PageCount(long long printedLines, int linesPerPage) {
    if (linesPerPage < 1) {
        return 1;
    }
    const long long lines = kFirstBodyLine + (printedLines > 0 ? printedLines : 0);
    return (lines + linesPerPage - 1) / linesPerPage;
}

long long PrintedLineAt(long long page, int line, int linesPerPage) {
    return page * linesPerPage + line - kFirstBodyLine;
}

long long SheetCount(long long pageCount, int copies) {
    return pageCount * (copies > 1 ? copies : 1);
}

long long PageOfSheet(long long sheet, long long pageCount, int copies, bool collate) {
    if (pageCount < 1) {
        return 0;
    }
    if (collate) {
        return sheet % pageCount;
    }
    return sheet / (copies > 1 ? copies : 1);
}
