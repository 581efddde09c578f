// Whole-file reads and writes: the bytes come back exactly, and every failure is reported.
#include "app/file_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_bytes.h"

namespace {

TEST(FileBytes, WrittenBytesReadBackExactlyAndFailuresAreReported) {
    const std::string path = TempPath("bytes.bin");
    const std::string bytes("a\r\nb\x1a\0c", 7);
    ASSERT_TRUE(WriteFileBytes(path.c_str(), bytes));
    std::string read = "stale";
    ASSERT_TRUE(ReadFileBytes(path.c_str(), read));
    EXPECT_EQ(read, bytes);
    ASSERT_TRUE(WriteFileBytes(path.c_str(), ""));
    ASSERT_TRUE(ReadFileBytes(path.c_str(), read));
    EXPECT_EQ(read, "");

    EXPECT_FALSE(ReadFileBytes(TempPath("missing.bin").c_str(), read));
    EXPECT_FALSE(WriteFileBytes(TempPath("no_such_folder/x.bin").c_str(), bytes));
    // A device that takes no bytes (where there is one): the write fails, not only the flush.
    EXPECT_FALSE(WriteFileBytes("/dev/full", std::string(1 << 20, 'x')));
    std::remove(path.c_str());
}

} // namespace
