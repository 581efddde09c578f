// Reading the lines of the small KEY=value files (plugin.ini, custom.ini).
#include "app/text_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_bytes.h"

namespace {

// The lines read from a file of these bytes with a buffer of size bytes.
std::vector<std::string> Lines(const std::string& bytes, size_t size) {
    const std::string path = TempPath("lines.ini");
    WriteBytes(path, bytes);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<std::string> lines;
    std::vector<char> line(size + 1);
    while (file != nullptr && ReadTextLine(file, line.data(), size)) {
        lines.push_back(line.data());
    }
    std::fclose(file);
    return lines;
}

TEST(TextLines, LinesEndAtLfOrCrLfAndTheRestOfALongOneIsPassedOver) {
    using Texts = std::vector<std::string>;
    EXPECT_EQ(Lines("a\r\nb=1\nlast", 8), (Texts{"a", "b=1", "last"}));
    EXPECT_EQ(Lines("", 8), Texts{});
    EXPECT_EQ(Lines("\n\r\nx\r", 8), (Texts{"", "", "x"}));
    EXPECT_EQ(Lines("1234567\r\n12345678\nnext", 8), (Texts{"1234567", "1234567", "next"}));
    EXPECT_EQ(Lines("ab\ncd\n", 2), (Texts{"a", "c"}));
    EXPECT_EQ(Lines("ab\n", 1), Texts{});
    // A NUL byte ends a line's text, not the line: the next line is still read.
    EXPECT_EQ(Lines(std::string("nul\0byte\nnext=1\n", 16), 32), (Texts{"nul", "next=1"}));
}

} // namespace
