#include "base/file_copy.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string TempPath(const char* name) {
    return testing::TempDir() + name;
}

void Write(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string Read(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return "<missing>";
    }
    char block[512];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.append(block, got);
    }
    std::fclose(file);
    return bytes;
}

TEST(FileCopy, CopiesEveryByteAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 2500; ++i) {
        bytes += static_cast<char>(i % 251); // NUL, CR, LF and 0x1A among them
    }
    const std::string source = TempPath("kestro_copy_source.bin");
    const std::string target = TempPath("kestro_copy_target.bin");
    Write(source, bytes);
    Write(target, std::string(5000, 'x')); // an older, longer file is replaced
    ASSERT_TRUE(CopyFileInBlocks(source.c_str(), target.c_str()));
    EXPECT_EQ(Read(target), bytes);

    Write(source, std::string(1024, 'b')); // exactly one block
    ASSERT_TRUE(CopyFileInBlocks(source.c_str(), target.c_str()));
    EXPECT_EQ(Read(target), std::string(1024, 'b'));
    std::remove(source.c_str());
    std::remove(target.c_str());
}

TEST(FileCopy, CreatesNothingWhenEitherFileCannotBeOpened) {
    const std::string missing = TempPath("kestro_copy_missing.bin");
    const std::string target = TempPath("kestro_copy_never.bin");
    std::remove(target.c_str());
    EXPECT_FALSE(CopyFileInBlocks(missing.c_str(), target.c_str()));
    EXPECT_EQ(Read(target), "<missing>");

    const std::string source = TempPath("kestro_copy_source2.bin");
    Write(source, "abc");
    EXPECT_FALSE(CopyFileInBlocks(source.c_str(), TempPath("no_such_folder/x.bin").c_str()));
    std::remove(source.c_str());
}

} // namespace
