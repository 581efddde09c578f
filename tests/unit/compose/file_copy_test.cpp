#include "base/file_copy.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_bytes.h"

namespace {

TEST(FileCopy, CopiesEveryByteAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 2500; ++i) {
        bytes += static_cast<char>(i % 251); // NUL, CR, LF and 0x1A among them
    }
    const std::string source = TempPath("source.bin");
    const std::string target = TempPath("target.bin");
    for (const std::string& contents : {bytes, std::string(1024, 'b')}) { // 1024: one block
        WriteBytes(source, contents);
        WriteBytes(target, std::string(5000, 'x')); // an older, longer file is replaced
        ASSERT_TRUE(CopyFileInBlocks(source.c_str(), target.c_str()));
        EXPECT_EQ(ReadBytes(target), contents);
    }
    std::remove(source.c_str());
    std::remove(target.c_str());
}

TEST(FileCopy, CreatesNothingWhenEitherFileCannotBeOpened) {
    const std::string missing = TempPath("missing.bin");
    const std::string target = TempPath("never.bin");
    EXPECT_FALSE(CopyFileInBlocks(missing.c_str(), target.c_str()));
    EXPECT_FALSE(Exists(target));

    const std::string source = TempPath("source.bin");
    WriteBytes(source, "abc");
    EXPECT_FALSE(CopyFileInBlocks(source.c_str(), TempPath("no_such_folder/x.bin").c_str()));
    std::remove(source.c_str());
}

} // namespace
