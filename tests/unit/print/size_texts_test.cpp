#include "print/size_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string FileSize(long long bytes) {
    char out[kSizeTextLength];
    FormatFileSize(bytes, out);
    return out;
}

TEST(SizeTexts, FileSize) {
    EXPECT_EQ(FileSize(0), "  0 bytes   ");
    EXPECT_EQ(FileSize(7), "  7 bytes");
    EXPECT_EQ(FileSize(999), "999 bytes");
    EXPECT_EQ(FileSize(1000), " 1.0 kB");
    EXPECT_EQ(FileSize(1550), " 1.6 kB");
    EXPECT_EQ(FileSize(999999), "1000.0 kB");
    EXPECT_EQ(FileSize(1000000), "1.0 MB");
    EXPECT_EQ(FileSize(12345678), "12.3 MB");
    EXPECT_EQ(FileSize(-1), "filesize error");
    char small[5];
    FormatFileSize(12345678, small);
    EXPECT_STREQ(small, "12.3");
}

TEST(SizeTexts, DurationTenths) {
    char out[kSizeTextLength];
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{5.25, "00:05.2"}, {0.0, "00:00.0"}, {12.5, "00:12.5"},  {61.0, "1:01.0"},
                 {120.5, "2:00.5"}, {75.9, "1:15.9"}, {3600.0, "60:00.0"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(FormatDurationTenths(c.seconds, out));
        EXPECT_STREQ(out, c.text) << c.seconds;
    }
    std::strcpy(out, "kept");
    EXPECT_FALSE(FormatDurationTenths(-0.5, out));
    EXPECT_FALSE(FormatDurationTenths(1e300, out));
    EXPECT_STREQ(out, "kept");
}

TEST(SizeTexts, DurationSeconds) {
    char out[kSizeTextLength];
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {7, " 00:07 "}, {42, " 00:42 "}, {600, " 10:00 "}, {65, " 1:05 "}, {130, " 2:10 "}};
    for (const auto& c : cases) {
        ASSERT_TRUE(FormatDurationSeconds(c.seconds, out));
        EXPECT_STREQ(out, c.text) << c.seconds;
    }
    std::strcpy(out, "kept");
    EXPECT_FALSE(FormatDurationSeconds(-1, out));
    EXPECT_STREQ(out, "kept");
}

} // namespace
