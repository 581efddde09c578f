// Whole-file reads and writes keep every byte and report a file that cannot be opened.
#include "base/file_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_bytes.h"

namespace {

TEST(FileBytes, WhatIsWrittenIsReadBackByteForByte) {
    const std::string path = TempPath("bytes.bin");
    // Empty, line ends and a text-mode end-of-file byte, more than one read chunk.
    for (const std::string& bytes :
         {std::string(), std::string("a\r\nb\n\x1a\0c", 8), std::string(20000, 'x')}) {
        ASSERT_TRUE(WriteFileBytes(path.c_str(), bytes));
        EXPECT_EQ(ReadBytes(path), bytes);
        std::string read = "what was there before";
        ASSERT_TRUE(ReadFileBytes(path.c_str(), read));
        EXPECT_EQ(read, bytes);
    }
    std::remove(path.c_str());
}

TEST(FileBytes, AFileThatCannotBeOpenedFails) {
    const std::string path = TempPath("no_such_folder/file.bin");
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes(path.c_str(), bytes));
    EXPECT_FALSE(WriteFileBytes(path.c_str(), "x"));
    // A device that takes no bytes (where there is one): the write fails, not only the flush.
    EXPECT_FALSE(WriteFileBytes("/dev/full", std::string(1 << 20, 'x')));
}

} // namespace
