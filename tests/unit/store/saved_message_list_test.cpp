// The Load Message list: which folder entries are scanned, the record read from a ".kto" file,
// and the order of a sort by column.
#include "store/saved_message_list.h"

#include "base/file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct FolderEntry {
    const char* name;
    bool isDirectory;
};

SavedMessageEntry Read(const std::string& bytes, const char* path = "C:\\K\\save\\F\\m.kto") {
    SavedMessageEntry entry;
    EXPECT_TRUE(ReadSavedMessageEntry(path, bytes.data(), bytes.size(), entry));
    return entry;
}

TEST(SavedMessageList, APlainFileInTheSaveFolderDoesNotEndTheScan) {
    const FolderEntry saveFolder[] = {{".", true},
                                      {"..", true},
                                      {"Dec062026-1217AM-56", true},
                                      {"notes.txt", false},
                                      {"Jan022027-1200PM-00", true},
                                      {"...", true},
                                      {".hidden", true}};
    std::vector<std::string> scanned;
    for (const FolderEntry& entry : saveFolder) {
        if (IsMessageFolderEntry(entry.name, entry.isDirectory)) {
            scanned.push_back(entry.name);
        }
    }
    const std::vector<std::string> expected = {"Dec062026-1217AM-56", "Jan022027-1200PM-00", "...",
                                               ".hidden"};
    EXPECT_EQ(scanned, expected);
    EXPECT_FALSE(IsMessageFolderEntry(nullptr, true));
}

TEST(SavedMessageList, OnlyKtoFilesOfAMessageFolderAreRead) {
    EXPECT_TRUE(IsSavedMessageFileEntry("ann@ex.com-Lunch.kto", false));
    EXPECT_TRUE(IsSavedMessageFileEntry(".kto", false));
    EXPECT_FALSE(IsSavedMessageFileEntry("Lunch.KTO", false));
    EXPECT_FALSE(IsSavedMessageFileEntry("Lunch.kto", true));
    EXPECT_FALSE(IsSavedMessageFileEntry("voice.mp3", false));
    EXPECT_FALSE(IsSavedMessageFileEntry("kto", false));
    EXPECT_FALSE(IsSavedMessageFileEntry("a.kto.bak", false));
}

TEST(SavedMessageList, TheFixtureGivesItsFourColumns) {
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(KESTRO_TEST_DATA "/store/lunch_friday.kto", bytes));
    const SavedMessageEntry entry = Read(bytes, "C:\\K\\save\\Dec062026-1217AM-56\\x.kto");
    EXPECT_STREQ(SavedMessageColumnText(entry, 0), "bo@example.org cy@example.net");
    EXPECT_STREQ(SavedMessageColumnText(entry, 1), "Lunch: Friday?  Bring the maps");
    EXPECT_STREQ(SavedMessageColumnText(entry, 2), "Dec 06 2026  12:17 AM");
    EXPECT_STREQ(SavedMessageColumnText(entry, 3), "Y");
    EXPECT_STREQ(SavedMessageColumnText(entry, 4), "");
    EXPECT_STREQ(SavedMessageColumnText(entry, -1), "");
    EXPECT_STREQ(entry.path, "C:\\K\\save\\Dec062026-1217AM-56\\x.kto");
}

TEST(SavedMessageList, AttachmentMarkAndTextsFollowTheLines) {
    EXPECT_STREQ(Read("TO0\r\nATTACHMENTS0\r\n").attachmentMark, "N");
    EXPECT_STREQ(Read("TO0\r\n").attachmentMark, "N");
    EXPECT_STREQ(Read("ATTACHMENTS-1\r\n").attachmentMark, "N");
    EXPECT_STREQ(Read("ATTACHMENTS2\r\nc:\\a\r\nc:\\b\r\n").attachmentMark, "Y");

    const SavedMessageEntry e =
        Read("TO2\r\n a@b.cd\t\r\n\xe9x@y.zw\r\nSUBJECT  keep  blanks\xe9\r\nDATE=Jan 02 2027  "
             "12:00 PM\r\nBODY\r\n{\\rtf1\r\r\nDATE=not this}\r\r\n");
    // Accented bytes of the Western code page stay; blanks and tabs leave the addresses.
    EXPECT_STREQ(e.toText, "a@b.cd \xe9x@y.zw");
    EXPECT_STREQ(e.subject, "  keep  blanks\xe9");
    // Reading ends at BODY: the body's lines are text, whatever they start with.
    EXPECT_STREQ(e.date, "Jan 02 2027  12:00 PM");
    const SavedMessageEntry body = Read("TO1\r\nann@ex.com\r\nSUBJECTLunch\r\nATTACHMENTS0\r\n"
                                        "BODY\r\n{\\rtf1 \\par\r\r\nTO 2 friends\\par\r\r\n"
                                        "bo@ex.com\r\r\ncy@ex.com\r\r\nSUBJECTx\r\r\n"
                                        "ATTACHMENTS3\r\r\n}\r\r\n");
    EXPECT_STREQ(body.toText, "ann@ex.com");
    EXPECT_STREQ(body.subject, "Lunch");
    EXPECT_STREQ(body.attachmentMark, "N");
}

TEST(SavedMessageList, LongTextsAreCutToTheirFields) {
    std::string to = "TO10\r\n";
    for (int i = 0; i < 10; ++i) {
        to += std::string(30, static_cast<char>('a' + i)) + "@ex.com\r\n";
    }
    const SavedMessageEntry e = Read(to + "DATE=" + std::string(600, 'd') + "\r\nSUBJECT" +
                                     std::string(1016, 's') + "DATE=late\r\n");
    EXPECT_EQ(std::strlen(e.toText), 255u);
    EXPECT_EQ(std::string(e.toText).substr(0, 38), std::string(30, 'a') + "@ex.com ");
    EXPECT_EQ(std::strlen(e.date), 255u);
    // A line past 1023 characters is cut, and its rest is not read as a DATE line.
    EXPECT_EQ(std::strlen(e.subject), 1016u);

    SavedMessageEntry entry;
    const std::string longPath(1024, 'p');
    EXPECT_FALSE(ReadSavedMessageEntry(longPath.c_str(), "TO0", 3, entry));
    EXPECT_STREQ(entry.path, "");
}

TEST(SavedMessageList, JunkFilesGiveTerminatedTexts) {
    uint32_t seed = 7;
    for (int round = 0; round < 100; ++round) {
        std::string junk = round % 2 == 0 ? "TO99\r\n" : "SUBJECT";
        const size_t size = 1 + (round * 997) % 6000;
        for (size_t i = 0; i < size; ++i) {
            seed = seed * 1664525u + 1013904223u;
            junk += static_cast<char>(seed >> 24);
        }
        const SavedMessageEntry e = Read(junk);
        EXPECT_LT(std::strlen(e.toText), sizeof e.toText);
        EXPECT_LT(std::strlen(e.subject), sizeof e.subject);
        EXPECT_LT(std::strlen(e.date), sizeof e.date);
        EXPECT_EQ(std::strlen(e.attachmentMark), 1u);
    }
    SavedMessageEntry empty;
    EXPECT_TRUE(ReadSavedMessageEntry("C:\\m.kto", nullptr, 0, empty));
    EXPECT_STREQ(empty.attachmentMark, "N");
}

// Stands in for the platform comparison: orders the texts backwards, so its use is visible.
int Backwards(const char* a, const char* b) {
    return std::strcmp(b, a);
}

TEST(SavedMessageList, SortingFollowsTheClickedColumn) {
    std::vector<SavedMessageEntry> entries = {
        Read("TO1\r\nbob@ex.com\r\nSUBJECTb\r\nDATE=Jan 02 2027  09:00 AM\r\nATTACHMENTS0\r\n"),
        Read("TO1\r\nAnn@ex.com\r\nSUBJECTa\r\nDATE=Dec 06 2026  12:17 AM\r\nATTACHMENTS1\r\n"),
        Read("TO1\r\nann@ex.co\r\nSUBJECTc\r\nDATE=Apr 01 2027  01:00 PM\r\nATTACHMENTS0\r\n")};
    auto order = [&](int column, TextCompare compare) {
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const SavedMessageEntry& a, const SavedMessageEntry& b) {
                             return CompareSavedMessageEntries(a, b, column, compare) < 0;
                         });
        std::string subjects;
        for (const SavedMessageEntry& e : entries) {
            subjects += e.subject;
        }
        return subjects;
    };
    // To: case-insensitive bytes, so "Ann" sorts with "ann" and before "bob".
    EXPECT_EQ(order(0, Backwards), "cab");
    // Date: by the text, month name first, not by time.
    EXPECT_EQ(order(2, nullptr), "cab");
    EXPECT_EQ(order(3, nullptr), "cba");
    EXPECT_EQ(order(1, nullptr), "abc");
    EXPECT_EQ(order(1, Backwards), "cba");

    EXPECT_EQ(CompareBytesNoCase("ABC", "abc"), 0);
    EXPECT_LT(CompareBytesNoCase("abc", "ABD"), 0);
    EXPECT_LT(CompareBytesNoCase("ab", "abc"), 0);
    // Letters compare as lower case, so '_' (0x5F) comes before every letter.
    EXPECT_LT(CompareBytesNoCase("_", "A"), 0);
}

} // namespace
