// How the strip labels and places its entries.
#include "compose/attachment_names.h"
#include "compose/strip_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Label(const char* path) {
    char out[64];
    AttachmentDisplayName(path, out);
    return out;
}

TEST(AttachmentNames, LabelsCutNamesOfThirteenCharactersOrMore) {
    EXPECT_EQ(Label("c:\\mail\\twelve_chars"), "twelve_chars");
    EXPECT_EQ(Label("c:\\mail\\thirteen_char"), "thirteen_...");
    EXPECT_EQ(Label("c:\\a very long folder name\\x.txt"), "x.txt");
    EXPECT_EQ(Label("noslash.txt"), "noslash.txt");
    EXPECT_EQ(Label("c:\\folder\\"), "");
    char small[6];
    AttachmentDisplayName("c:\\thirteen_char", small);
    EXPECT_STREQ(small, "thirt");
}

TEST(AttachmentNames, SplitsThePathAtTheLastBackslash) {
    char directory[32];
    StripEntryDirectory("c:\\mail\\notes.txt", directory);
    EXPECT_STREQ(directory, "c:\\mail\\");
    EXPECT_STREQ(StripEntryFileName("c:\\mail\\notes.txt"), "notes.txt");
    StripEntryDirectory("notes.txt", directory);
    EXPECT_STREQ(directory, "");
    char tiny[4];
    StripEntryDirectory("c:\\mail\\notes.txt", tiny);
    EXPECT_STREQ(tiny, "c:\\");
}

TEST(AttachmentNames, AsksBeforeOpeningProgramsAndDocuments) {
    EXPECT_TRUE(OpeningAsksFirst("setup.exe"));
    EXPECT_TRUE(OpeningAsksFirst("x.com"));
    EXPECT_TRUE(OpeningAsksFirst("letter.doc"));
    EXPECT_FALSE(OpeningAsksFirst(".exe")); // not longer than 4 characters
    EXPECT_FALSE(OpeningAsksFirst("setup.EXE"));
    EXPECT_FALSE(OpeningAsksFirst("letter.docx"));
    EXPECT_FALSE(OpeningAsksFirst("song.mp3"));
}

TEST(AttachmentNames, SkipsDroppedFoldersAndShortcuts) {
    EXPECT_TRUE(DroppedFileIsSkipped("c:\\mail", "File Folder", false));
    EXPECT_TRUE(DroppedFileIsSkipped("c:\\mail", "File folder", false));
    EXPECT_TRUE(DroppedFileIsSkipped("c:\\mail", "Folder", true));
    EXPECT_TRUE(DroppedFileIsSkipped("c:\\desktop\\editor", "Shortcut", false));
    EXPECT_TRUE(DroppedFileIsSkipped("c:\\desktop\\editor.LNK", "lnkfile", false));
    EXPECT_FALSE(DroppedFileIsSkipped("c:\\mail\\notes.txt", "Text Document", false));
    EXPECT_FALSE(DroppedFileIsSkipped("c:\\mail\\folder.txt", "File Folders", false));
    EXPECT_FALSE(DroppedFileIsSkipped("c:\\mail\\link", "", false));
}

// The system font at 96 dots per inch: 7 pixels wide on average, 16 high; 32-pixel icons.
const StripMetrics kMetrics = {7, 16, 32, 32};

TEST(StripGeometry, CentresTheColumnsThatFit) {
    StripGrid grid = ComputeStripGrid(192, kMetrics); // exactly two cells of 13 x 7 + 5
    EXPECT_EQ(grid.cellWidth, 96);
    EXPECT_EQ(grid.rowHeight, 74);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(grid.margin, 0);

    grid = ComputeStripGrid(200, kMetrics);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(grid.margin, 9); // (200 - 192) / 2 + 5

    grid = ComputeStripGrid(50, kMetrics);
    EXPECT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.margin, 30);

    grid = ComputeStripGrid(0, kMetrics);
    EXPECT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.margin, 0);

    grid = ComputeStripGrid(100, StripMetrics{0, 0, 32, 32}); // no font metrics at all
    EXPECT_GE(grid.columns, 1);
}

TEST(StripGeometry, PlacesAndHitsEntriesRowByRow) {
    const StripGrid grid = ComputeStripGrid(200, kMetrics);
    int x = 0;
    int y = 0;
    StripIconPosition(grid, kMetrics, 0, 0, &x, &y);
    EXPECT_EQ(x, 9 + 21);
    EXPECT_EQ(y, 2);
    StripIconPosition(grid, kMetrics, 3, 2, &x, &y);
    EXPECT_EQ(x, 9 + 96 + 21);
    EXPECT_EQ(y, 74 - 32 + 2);

    const StripRect r = StripHitRect(grid, kMetrics, 1, 0);
    EXPECT_EQ(r.left, 126);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 158);
    EXPECT_EQ(r.bottom, 66); // the icon and two text lines

    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 0, 126, 2), 1);
    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 0, 157, 65), 1);
    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 0, 158, 65), -1);
    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 0, 100, 30), -1); // between the icons
    EXPECT_EQ(StripHitTest(grid, kMetrics, 1, 0, 126, 2), -1);  // no second entry
    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 0, 30, 76), 2);
    EXPECT_EQ(StripHitTest(grid, kMetrics, 3, 4, 30, 76 - 64), 2); // scrolled by four lines
}

TEST(StripGeometry, ScrollsFourPointSixLinesPerRow) {
    const StripGrid grid = ComputeStripGrid(200, kMetrics); // two columns
    EXPECT_EQ(StripScrollMaximum(grid, 0), 0);
    EXPECT_EQ(StripScrollMaximum(grid, 2), 0); // one row
    EXPECT_EQ(StripScrollMaximum(grid, 3), 5); // ceiling(9.2) - 5
    EXPECT_EQ(StripScrollMaximum(grid, 10), 18);
    EXPECT_EQ(StripScrollMaximum(grid, 64), 143); // 32 rows: ceiling(147.2) - 5
}

TEST(StripGeometry, CentresLabelsUnderTheIcon) {
    EXPECT_EQ(StripLabelX(kMetrics, 30, 12), 30 + 16 - 42);
    EXPECT_EQ(StripLabelX(kMetrics, 30, 5), 30 + 16 - 17);
}

} // namespace
