#include "compose/attachment_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "support/test_bytes.h"

namespace {

// A stand-in disk: path -> size; a size of -1 opens but cannot be measured.
std::map<std::string, long long> fakeFiles;
std::string lastOpened;

bool FakeCanOpen(const char* path) {
    lastOpened = path;
    return fakeFiles.count(path) != 0;
}

long long FakeSize(const char* path) {
    auto found = fakeFiles.find(path);
    return found == fakeFiles.end() ? -1 : found->second;
}

const AttachmentFileChecks fakeChecks = {FakeCanOpen, FakeSize};

class AttachmentTableTest : public testing::Test {
  protected:
    void SetUp() override {
        fakeFiles.clear();
        lastOpened.clear();
        table_ = std::make_unique<AttachmentTable>();
        ClearAttachmentTable(*table_);
    }

    AddAttachmentResult Add(const std::string& path, int* slot = nullptr) {
        return AddAttachmentPath(*table_, path.c_str(), fakeChecks, slot);
    }

    std::string FileName(int i) const {
        char name[32];
        std::snprintf(name, sizeof name, "c:\\mail\\file%02d.txt", i);
        return name;
    }

    std::unique_ptr<AttachmentTable> table_;
};

TEST_F(AttachmentTableTest, StoresThePathInLowerCaseAndRefusesItAgainInAnyCase) {
    // Only the letters A to Z change: the byte 0xC4 stays as it is.
    fakeFiles["c:\\my docs\\report \xc4.txt"] = 120;
    int slot = -2;
    EXPECT_EQ(Add("C:\\My Docs\\REPORT \xc4.txt", &slot), AddAttachmentResult::Added);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(lastOpened, "c:\\my docs\\report \xc4.txt");
    EXPECT_STREQ(table_->slots[0].path, "c:\\my docs\\report \xc4.txt");
    EXPECT_EQ(table_->slots[0].selected, 0u);

    EXPECT_EQ(Add("c:\\MY DOCS\\report \xc4.TXT", &slot), AddAttachmentResult::Duplicate);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(CountAttachments(*table_), 1);
    EXPECT_EQ(AddResultCode(AddAttachmentResult::Duplicate), 0);
    EXPECT_EQ(AddResultCode(AddAttachmentResult::Added), 1);
}

TEST_F(AttachmentTableTest, TakesSixtyFourFilesAndRefusesTheSixtyFifth) {
    for (int i = 0; i < 65; ++i) {
        fakeFiles[FileName(i)] = 10;
    }
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(Add(FileName(i)), AddAttachmentResult::Added) << i;
    }
    EXPECT_EQ(CountAttachments(*table_), 64);
    int slot = 0;
    EXPECT_EQ(Add(FileName(64), &slot), AddAttachmentResult::TableFull);
    EXPECT_EQ(slot, -1);
    // A duplicate of the last entry is still told apart from a full table.
    EXPECT_EQ(Add(FileName(63), &slot), AddAttachmentResult::Duplicate);
    EXPECT_EQ(slot, 63);
    EXPECT_EQ(AddResultCode(AddAttachmentResult::TableFull), 0);
}

TEST_F(AttachmentTableTest, AcceptsAnEmptyFileWithoutAddingIt) {
    fakeFiles["c:\\empty.txt"] = 0;
    EXPECT_EQ(Add("C:\\Empty.txt"), AddAttachmentResult::EmptyFile);
    EXPECT_EQ(AddResultCode(AddAttachmentResult::EmptyFile), 1);
    EXPECT_EQ(CountAttachments(*table_), 0);

    // Even with a full table an empty file is accepted: the size is looked at first.
    for (int i = 0; i < 64; ++i) {
        fakeFiles[FileName(i)] = 1;
        ASSERT_EQ(Add(FileName(i)), AddAttachmentResult::Added);
    }
    EXPECT_EQ(Add("c:\\empty.txt"), AddAttachmentResult::EmptyFile);
}

TEST_F(AttachmentTableTest, RefusesWhatCannotBeReadAndOverlongPaths) {
    EXPECT_EQ(Add("c:\\missing.txt"), AddAttachmentResult::Unreadable);
    fakeFiles["c:\\locked.txt"] = -1;
    EXPECT_EQ(Add("c:\\locked.txt"), AddAttachmentResult::Unreadable);
    EXPECT_EQ(Add(""), AddAttachmentResult::Unreadable);

    const std::string longest = "c:\\" + std::string(1020, 'a');
    ASSERT_EQ(longest.size(), 1023u);
    fakeFiles[longest] = 5;
    EXPECT_EQ(Add(longest), AddAttachmentResult::Added);
    EXPECT_EQ(std::strlen(table_->slots[0].path), 1023u);
    lastOpened.clear();
    EXPECT_EQ(Add(longest + "b"), AddAttachmentResult::TooLong);
    EXPECT_EQ(lastOpened, ""); // refused before the disk is asked
    EXPECT_EQ(CountAttachments(*table_), 1);
}

TEST_F(AttachmentTableTest, RemovingClosesTheGap) {
    for (int i = 0; i < 3; ++i) {
        fakeFiles[FileName(i)] = 10;
        ASSERT_EQ(Add(FileName(i)), AddAttachmentResult::Added);
    }
    table_->slots[2].selected = 1;
    EXPECT_TRUE(RemoveAttachmentPath(*table_, FileName(0).c_str()));
    EXPECT_EQ(table_->slots[0].path, FileName(1));
    EXPECT_EQ(table_->slots[1].path, FileName(2));
    EXPECT_EQ(table_->slots[1].selected, 1u); // the whole entry moves
    EXPECT_STREQ(table_->slots[2].path, "");
    EXPECT_EQ(CountAttachments(*table_), 2);

    EXPECT_FALSE(RemoveAttachmentPath(*table_, FileName(0).c_str()));
    EXPECT_FALSE(RemoveAttachmentPath(*table_, ""));
    EXPECT_FALSE(RemoveAttachmentAt(*table_, 2));
    EXPECT_FALSE(RemoveAttachmentAt(*table_, -1));
    EXPECT_FALSE(RemoveAttachmentAt(*table_, 64));

    // The freed slot is reused: new entries go to the end of the list.
    EXPECT_EQ(Add(FileName(0)), AddAttachmentResult::Added);
    EXPECT_EQ(table_->slots[2].path, FileName(0));
}

TEST_F(AttachmentTableTest, RemovingFromAFullTableClearsTheLastSlot) {
    for (int i = 0; i < 64; ++i) {
        fakeFiles[FileName(i)] = 10;
        ASSERT_EQ(Add(FileName(i)), AddAttachmentResult::Added);
    }
    // The path given may live in the table itself.
    EXPECT_TRUE(RemoveAttachmentPath(*table_, table_->slots[63].path));
    EXPECT_EQ(CountAttachments(*table_), 63);
    EXPECT_TRUE(RemoveAttachmentAt(*table_, 0));
    EXPECT_EQ(table_->slots[0].path, FileName(1));
    EXPECT_EQ(table_->slots[61].path, FileName(62));
    EXPECT_STREQ(table_->slots[62].path, "");
    EXPECT_STREQ(table_->slots[63].path, "");
}

#ifndef _WIN32
bool HasCapitals(const std::string& text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}
#endif

TEST(AttachmentDiskChecks, OpenAndMeasureRealFiles) {
    // Lower-case names: the table stores paths in lower case.
    const std::string full = TempFolder() + "full.bin";
    const std::string empty = TempFolder() + "empty.bin";
    WriteBytes(full, "a\nb\n"); // binary: no line-end translation
    WriteBytes(empty, "");
    const AttachmentFileChecks& disk = DiskFileChecks();
    EXPECT_TRUE(disk.canOpenForReading(full.c_str()));
    EXPECT_EQ(disk.fileSize(full.c_str()), 4);
    EXPECT_EQ(disk.fileSize(empty.c_str()), 0);
    EXPECT_FALSE(disk.canOpenForReading(TempPath("none.bin").c_str()));
    EXPECT_EQ(disk.fileSize(TempPath("none.bin").c_str()), -1);

    // Only a file system that ignores case finds a lower-cased path whose folder has capitals.
    auto table = std::make_unique<AttachmentTable>();
    ClearAttachmentTable(*table);
#ifndef _WIN32
    if (HasCapitals(testing::TempDir())) {
        std::remove(full.c_str());
        std::remove(empty.c_str());
        GTEST_SKIP() << "temporary folder has capitals";
    }
#endif
    EXPECT_EQ(AddAttachmentPath(*table, empty.c_str(), disk, nullptr),
              AddAttachmentResult::EmptyFile);
    EXPECT_EQ(AddAttachmentPath(*table, full.c_str(), disk, nullptr), AddAttachmentResult::Added);
    EXPECT_EQ(CountAttachments(*table), 1);
    std::remove(full.c_str());
    std::remove(empty.c_str());
}

} // namespace
