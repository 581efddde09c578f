#include "print/page_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(PageLayout, MeasurePage) {
    const struct {
        PrinterFont font;
        int width;
        int height;
        PageMetrics page; // lines per page 0: no page can be printed
    } cases[] = {
        // The PostScript printer of the tests: a 300 dpi letter page and its default font.
        {{99, 0, 53}, 2450, 3200, {99, 46, 32}},
        {{50, 10, 25}, 24, 3200, {}}, // not one character wide
        {{50, 10, 25}, 25, 3200, {60, 1, 53}},
        {{50, 10, 25}, 2450, 600, {60, 98, 10}},
        {{50, 10, 25}, 2450, 599, {}}, // nine header lines and no body line
        {{50, 0, 0}, 2450, 3200, {}},
        {{0, 0, 25}, 2450, 3200, {}},
    };
    for (const auto& c : cases) {
        PageMetrics p = {};
        EXPECT_EQ(MeasurePage(c.font, c.width, c.height, p), c.page.linesPerPage > 0);
        EXPECT_EQ(std::tie(p.lineHeight, p.charactersPerLine, p.linesPerPage),
                  std::tie(c.page.lineHeight, c.page.charactersPerLine, c.page.linesPerPage))
            << c.width << "x" << c.height;
    }
}

TEST(PageLayout, PrintedBodyLines) {
    const struct {
        const char* body;
        int width;
        std::vector<std::string> printed;
    } cases[] = {
        {"", 10, {""}},
        {"one\r\ntwo\rthree\nfour", 10, {"one", "two", "three", "four"}},
        {"hello\r\n", 10, {"hello", ""}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"the quick brown fox", 10, {"the quick", "brown fox"}},
        {"one  two", 4, {"one", "two"}},
        {"word    ", 4, {"word"}},
        {"   indented", 4, {"   i", "nden", "ted"}},
        {"a\tb\x01z", 10, {"a b z"}},
        {"ab", 0, {"a", "b"}}, // no width still prints every character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrintedBodyLines(c.body, c.width), c.printed) << c.body;
    }
}

TEST(PageLayout, PagesAndTheirLines) {
    const struct {
        long long printedLines;
        int linesPerPage;
        long long pages;
    } counts[] = {{51, 60, 1}, {52, 60, 2}, {111, 60, 2}, {112, 60, 3}, {100, 32, 4}};
    for (const auto& c : counts) {
        EXPECT_EQ(PageCount(c.printedLines, c.linesPerPage), c.pages) << c.printedLines;
    }
    // 100 lines at 60 a page: lines 0 to 50 on page 1 from its line 9, the rest from the top
    // of page 2.
    EXPECT_EQ(PrintedLineAt(0, 8, 60), -1);
    EXPECT_EQ(PrintedLineAt(0, 59, 60), 50);
    EXPECT_EQ(PrintedLineAt(1, 0, 60), 51);
    EXPECT_EQ(PrintedLineAt(3, 0, 32), 87);
}

TEST(PageLayout, CopiesCollatedAndNot) {
    const struct {
        long long pages;
        int copies;
        bool collate;
        std::vector<long long> order;
    } cases[] = {
        {3, 2, true, {0, 1, 2, 0, 1, 2}},
        {3, 2, false, {0, 0, 1, 1, 2, 2}},
        {2, 0, true, {0, 1}}, // no copy count means one copy
    };
    for (const auto& c : cases) {
        std::vector<long long> order;
        for (long long sheet = 0; sheet < SheetCount(c.pages, c.copies); ++sheet) {
            order.push_back(PageOfSheet(sheet, c.pages, c.copies, c.collate));
        }
        EXPECT_EQ(order, c.order) << c.copies << (c.collate ? " collated" : "");
    }
}

} // namespace
