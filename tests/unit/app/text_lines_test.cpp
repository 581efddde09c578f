// Reading KEY=value files line by line: line ends, lines longer than the buffer, the last line.
#include "app/text_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_bytes.h"

namespace {

TEST(TextLines, LineEndsGoAndTheRestOfALongLineIsNoLineOfItsOwn) {
    const std::string path = TempPath("lines.txt");
    WriteBytes(path, "A=1\r\nB=" + std::string(20, 'x') + "\r\nC=3\n\r\nD=4");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<std::string> lines;
    char line[10];
    while (ReadTextLine(file, line)) {
        lines.push_back(line);
    }
    std::fclose(file);
    EXPECT_EQ(lines, (std::vector<std::string>{"A=1", "B=xxxxxxx", "C=3", "", "D=4"}));
    char tiny[1];
    file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(ReadTextLine(file, tiny)); // no room for a character and the terminator
    std::fclose(file);
    std::remove(path.c_str());
}

} // namespace
