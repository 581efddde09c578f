// Closing the groups that an RTF body cut short leaves open.
#include "store/rtf_groups.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(RtfGroups, EveryOpenGroupIsClosedAndEscapedBracesAreText) {
    EXPECT_EQ(OpenRtfGroups(""), 0u);
    EXPECT_EQ(OpenRtfGroups("{\\rtf1 a}"), 0u);
    EXPECT_EQ(CloseRtfGroups("{\\rtf1 a}"), "{\\rtf1 a}");

    const std::string cut = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\b Lunch\\b0 ";
    EXPECT_EQ(OpenRtfGroups(cut), 1u);
    EXPECT_EQ(CloseRtfGroups(cut), cut + "}");
    EXPECT_EQ(CloseRtfGroups("{\\rtf1{\\fonttbl{\\f0 Ar"), "{\\rtf1{\\fonttbl{\\f0 Ar}}}");

    // "\{" and "\}" are braces of the text; "\\" is a backslash of the text.
    EXPECT_EQ(OpenRtfGroups("{\\rtf1 \\{ not a group"), 1u);
    EXPECT_EQ(OpenRtfGroups("{\\rtf1 \\} still open"), 1u);
    EXPECT_EQ(OpenRtfGroups("{\\rtf1 \\\\{x}"), 1u);
    // Stray closing braces close nothing, and a backslash may end the text.
    EXPECT_EQ(OpenRtfGroups("}}{\\rtf1 a\\"), 1u);

    // A body cut inside an escape loses the unfinished escape, so the brace added after it
    // closes the group instead of becoming text.
    const std::pair<const char*, const char*> cutEscapes[] = {
        {"{\\", "{}"},
        {"{\\rtf1 \\'e", "{\\rtf1 }"},
        {"{\\rtf1 \\'", "{\\rtf1 }"},
        {"{\\rtf1 \\'\\'e", "{\\rtf1 }"}, // the first escape ends where the second is dropped
        {"{\\rtf1 \\'09", "{\\rtf1 \\'09}"},
        {"{\\rtf1 \\'af\\'AF", "{\\rtf1 \\'af\\'AF}"},
        {"{\\rtf1 a\\\\", "{\\rtf1 a\\\\}"},
    };
    for (const auto& [body, closed] : cutEscapes) {
        EXPECT_EQ(CloseRtfGroups(body), closed) << body;
    }
}

} // namespace
