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

TEST(TextFields, LinesAreReadWithoutTheirEndsAndCutToTheBuffer) {
    const std::string path = TempPath("lines.txt");
    WriteBytes(path, "short\r\n12345678901234\nnext\n\nlast");
    std::vector<std::string> lines;
    {
        ScopedFile file(path.c_str(), "rb");
        ASSERT_TRUE(file);
        char line[8];
        while (ReadTextLine(file.get(), line)) {
            lines.push_back(line);
        }
    }
    {
        ScopedFile file(path.c_str(), "rb");
        char tiny[1];
        EXPECT_FALSE(ReadTextLine(file.get(), tiny)); // no room for a character and the terminator
    }
    std::remove(path.c_str());
    EXPECT_EQ(lines, (std::vector<std::string>{"short", "1234567", "next", "", "last"}));
}

} // namespace
