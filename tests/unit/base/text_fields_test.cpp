// Fixed fields: a copy is cut to the field and always terminated; a line read is cut to the
// buffer and the rest of a longer line never passes for a line of its own.
#include "base/text_fields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/scoped_file.h"
#include "support/test_bytes.h"

namespace {

TEST(TextFields, CopyIsCutToTheFieldAndTerminated) {
    for (size_t length : {0, 6, 7, 8, 30}) {
        char field[8 + 1];
        field[8] = '#'; // past the field: must stay untouched
        CopyField(field, 8, std::string(length, 'a').c_str());
        EXPECT_EQ(std::string(field), std::string(length < 8 ? length : 7, 'a')) << length;
        EXPECT_EQ(field[8], '#') << length;
    }
}

// The lines read from a file of these bytes with a buffer of size bytes.
std::vector<std::string> Lines(const std::string& bytes, size_t size) {
    const std::string path = TempPath("lines.ini");
    WriteBytes(path, bytes);
    std::vector<std::string> lines;
    {
        ScopedFile file(path.c_str(), "rb");
        std::vector<char> line(size + 1);
        while (file && ReadTextLine(file.get(), line.data(), size)) {
            lines.push_back(line.data());
        }
    }
    std::remove(path.c_str());
    return lines;
}

TEST(TextFields, LinesEndAtLfOrCrLfAndTheRestOfALongOneIsPassedOver) {
    using Texts = std::vector<std::string>;
    EXPECT_EQ(Lines("a\r\nb=1\nlast", 8), (Texts{"a", "b=1", "last"}));
    EXPECT_EQ(Lines("", 8), Texts{});
    EXPECT_EQ(Lines("\n\r\nx\r", 8), (Texts{"", "", "x"}));
    EXPECT_EQ(Lines("short\r\n12345678901234\nnext\n\nlast", 8),
              (Texts{"short", "1234567", "next", "", "last"}));
    EXPECT_EQ(Lines("ab\ncd\n", 2), (Texts{"a", "c"}));
    EXPECT_EQ(Lines("ab\n", 1), Texts{}); // no room for a character and the terminator
    // A NUL byte ends a line's text, not the line: the next line is still read.
    EXPECT_EQ(Lines(std::string("nul\0byte\nnext=1\n", 16), 32), (Texts{"nul", "next=1"}));
}

} // namespace
