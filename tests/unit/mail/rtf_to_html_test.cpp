#include "mail/append_buffer.h"
#include "mail/rtf_to_html.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Conversion {
    bool ok;
    std::string html;
    size_t capacity;
};

Conversion Convert(const std::string& rtf, char* reuse = nullptr, size_t reuseCapacity = 0) {
    size_t capacity = reuseCapacity;
    char* html = ConvertRtfToHtml(rtf.c_str(), reuse, &capacity);
    Conversion result{html != nullptr, html != nullptr ? html : "", capacity};
    if (html != nullptr) {
        EXPECT_LT(strlen(html), capacity);
    } else {
        EXPECT_EQ(capacity, 0u);
    }
    free(html);
    return result;
}

// A document in the editor's form: font table, colour table, then the body.
std::string Document(const std::string& body,
                     const std::string& fonts = "{\\f0\\fnil\\fcharset0 Arial;}",
                     const std::string& colours = "\\red0\\green0\\blue0;") {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl" + fonts + "}\r\n{\\colortbl" + colours + "}\r\n" +
           body + "}\r\n";
}

std::string Html(const std::string& body) {
    return "<HTML>\n<BODY>\n" + body + "</BODY>\n</HTML>\n";
}

const char kArial[] = "<FONT color=#000000 face=\"Arial\" size=2>";

TEST(AppendToBuffer, GrowsByAtLeastAStepAndStaysTerminated) {
    char* buffer = nullptr;
    size_t used = 0;
    size_t capacity = 0;
    ASSERT_EQ(AppendToBuffer(&buffer, &used, &capacity, "abc", 3), 1);
    EXPECT_EQ(capacity, 8192u);
    EXPECT_EQ(used, 3u);
    EXPECT_STREQ(buffer, "abc");
    for (size_t i = 3; i < capacity; ++i) {
        ASSERT_EQ(buffer[i], '\0') << i;
    }

    // Exactly filling the block up to its last byte (kept for the NUL) does not grow it.
    std::string fill(8192 - 3 - 1, 'x');
    ASSERT_EQ(AppendToBuffer(&buffer, &used, &capacity, fill.data(), fill.size()), 1);
    EXPECT_EQ(capacity, 8192u);
    EXPECT_EQ(used, 8191u);
    ASSERT_EQ(AppendToBuffer(&buffer, &used, &capacity, "y", 1), 1);
    EXPECT_EQ(capacity, 2 * 8192u);
    EXPECT_EQ(buffer[8191], 'y');
    EXPECT_EQ(buffer[8192], '\0');

    // Data larger than a step grows the block by its length plus one.
    std::string big(20000, 'z');
    ASSERT_EQ(AppendToBuffer(&buffer, &used, &capacity, big.data(), big.size()), 1);
    EXPECT_EQ(capacity, 2 * 8192u + 20001u);
    EXPECT_EQ(strlen(buffer), used);
    free(buffer);
}

TEST(FindIndex, FirstOccurrenceOrMinusOne) {
    EXPECT_EQ(FindIndex("abcabc", "bc"), 1);
    EXPECT_EQ(FindIndex("abc", "abc"), 0);
    EXPECT_EQ(FindIndex("x;}}", ";}"), 1);
    EXPECT_EQ(FindIndex("abc", "abcd"), -1);
    EXPECT_EQ(FindIndex("abc", "x"), -1);
    EXPECT_EQ(FindIndex("", "a"), -1);
    EXPECT_EQ(FindIndex("abc", ""), -1);
    EXPECT_EQ(FindIndex(nullptr, "a"), -1);
}

TEST(ConvertRtfToHtml, WorkedExample) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Courier New;}"
                      "{\\f2\\fswiss\\fcharset0 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;}"
                      "\\plain\\f2\\fs20 Hi  there\r\n\\par }";
    Conversion c = Convert(rtf);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.html, "<HTML>\n<BODY>\n"
                      "<DIV><FONT color=#000000 face=\"Arial\" size=2>Hi&nbsp; there\r\n</FONT>"
                      "</DIV>\r\n"
                      "<DIV><FONT color=#000000 face=\"Arial\" size=2></FONT></DIV>"
                      "</BODY>\n</HTML>\n");
    EXPECT_EQ(c.capacity, 8192u);
}

TEST(ConvertRtfToHtml, StructuralMissesGiveNoHtml) {
    const std::string good = Document("\\plain\\f0\\fs20 x\\par ");
    ASSERT_TRUE(Convert(good).ok);
    const char* const broken[] = {
        "",
        "{\\rtf1",
        "{\\rtf2\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl;}\\par }",
        "{\\rtf1\\ansi{\\colortbl;}\\par }",                          // no font table
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\colortbl;}\\par }",       // font table not closed
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil;}}{\\colortbl;}\\par }",  // entry without a blank
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\\par }",                   // no colour table
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl\\red1}\\par }", // colour table not closed
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl;}",             // no body at all
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl;}\\par\\}",     // no closing brace
    };
    for (const char* rtf : broken) {
        EXPECT_FALSE(Convert(rtf).ok) << rtf;
    }
    EXPECT_EQ(ConvertRtfToHtml(nullptr, nullptr, nullptr), nullptr);
}

TEST(ConvertRtfToHtml, ReusesOrFreesABlockHandedIn) {
    size_t capacity = 32;
    char* block = static_cast<char*>(malloc(capacity));
    memset(block, 'q', capacity);
    Conversion c = Convert(Document("\\plain\\f0\\fs20 x\\par "), block, capacity);
    EXPECT_EQ(c.html, Html(std::string("<DIV>") + kArial + "x</FONT></DIV>\r\n<DIV>" + kArial +
                           "</FONT></DIV>"));
    EXPECT_EQ(c.capacity, 32u + 8192u);

    block = static_cast<char*>(malloc(capacity));
    EXPECT_EQ(ConvertRtfToHtml("{\\rtf1\\ansi}", block, &capacity), nullptr);
    EXPECT_EQ(capacity, 0u);
}

TEST(ConvertRtfToHtml, TextEntitiesBlanksAndBraces) {
    Conversion c = Convert(Document("\\plain\\f0\\fs20 a<b & \"c\" >d\\par "));
    EXPECT_EQ(c.html, Html(std::string("<DIV>") + kArial +
                           "a&lt;b &amp; &quot;c&quot; &gt;d</FONT></DIV>\r\n<DIV>" + kArial +
                           "</FONT></DIV>"));

    c = Convert(Document("\\plain\\f0\\fs20 one   two\\par "));
    EXPECT_NE(c.html.find(">one&nbsp;&nbsp; two</FONT>"), std::string::npos) << c.html;

    // An escaped brace shows as a blank and the brace; an escaped backslash as one backslash.
    c = Convert(Document("\\plain\\f0\\fs20 \\{x \\} a\\\\b\\par "));
    EXPECT_NE(c.html.find("> {x&nbsp; } a\\b</FONT>"), std::string::npos) << c.html;
}

TEST(ConvertRtfToHtml, TabsEmptyLinesAndParagraphs) {
    Conversion c = Convert(Document("\\plain\\f0\\fs20\\tab indented\\par \r\n\\par "));
    EXPECT_EQ(c.html, Html(std::string("<DIV>") + kArial +
                           "&nbsp;&nbsp;&nbsp;&nbsp; indented</FONT></DIV>\r\n<DIV>" + kArial +
                           "&nbsp;</FONT></DIV>\r\n<DIV>" + kArial + "</FONT></DIV>"));
}

TEST(ConvertRtfToHtml, SizesFollowThePlainRun) {
    // 11 points has no HTML size and keeps the previous one; 14 points is size 4; a run without
    // \plain keeps the size too.
    Conversion c =
        Convert(Document("\\plain\\f0\\fs24 a\\plain\\f0\\fs22 b\\plain\\f0\\fs28 c\\b d\\par "));
    EXPECT_NE(c.html.find("size=3>a</FONT><FONT color=#000000 face=\"Arial\" size=3>b</FONT>"
                          "<FONT color=#000000 face=\"Arial\" size=4>c</FONT>"
                          "<STRONG><FONT color=#000000 face=\"Arial\" size=4>d</STRONG></FONT>"),
              std::string::npos)
        << c.html;
    // Before any size is known the HTML size is 1; 8 and 36 points are the ends of the scale.
    c = Convert(Document("\\b a\\plain\\f0\\fs16 b\\plain\\f0\\fs72 c\\par "));
    EXPECT_NE(c.html.find("size=1>a</STRONG></FONT>"), std::string::npos) << c.html;
    EXPECT_NE(c.html.find("size=1>b</FONT>"), std::string::npos) << c.html;
    EXPECT_NE(c.html.find("size=7>c</FONT>"), std::string::npos) << c.html;
}

// The stream the editor control writes: a generator group before the body, runs that name only
// what changes (\b0 ends bold), words ended by a line break, characters as \'hh, and the last
// \par followed by CR LF and the closing brace.
TEST(ConvertRtfToHtml, TheEditorsOwnStream) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{"
        "\\f0\\fcharset0 "
        "Arial;}}\r\n"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
        "{\\*\\generator Wine Riched20 2.0;}\r\n"
        "\\pard\\sl-240\\slmult1 \\b\\cf1\\lang1033\\fs28\\f0 Hello\\b0\\cf2\\fs20   there\\par\r\n"
        "second < & \" line \\{x\\} caf\\'e9 \\\\ back\\par\r\n"
        "\\par\r\n"
        "\\tab last\\par\r\n"
        "\\pard\\qc\\sl-240\\slmult1 centred\\par\r\n"
        "\\pard\\sl-240\\slmult1 \\b\\i end\\par\r\n"
        "}\r\n";
    const std::string black = "<FONT color=#000000 face=\"Arial\" size=2>";
    Conversion c = Convert(rtf);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.html, Html("<DIV><STRONG><FONT color=#ff0000 face=\"Arial\" size=4>Hello"
                           "</STRONG></FONT>" +
                           black + "&nbsp; there</FONT></DIV>\r\n<DIV>" + black +
                           "second &lt; &amp; &quot; line&nbsp; {x } caf\xe9 \\ back</FONT>"
                           "</DIV>\r\n<DIV>" +
                           black + "&nbsp;</FONT></DIV>\r\n<DIV>" + black +
                           "&nbsp;&nbsp;&nbsp;&nbsp; last</FONT></DIV>\r\n<DIV>" + black +
                           "centred</FONT></DIV>\r\n<DIV><STRONG><EM>" + black +
                           "end</STRONG></EM></FONT></DIV>\r\n<DIV><STRONG><EM>" + black +
                           "</STRONG></EM></FONT></DIV>"));

    // An empty editor, and the body without any blank before its closing brace.
    c = Convert("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 System;}}\r\n{\\colortbl;}\r\n"
                "\\pard\\sl-240\\slmult1 \\lang1033\\fs18\\f0 \\par\r\n}");
    EXPECT_EQ(c.html, Html("<DIV><FONT color=#000000 face=\"System\" size=1></FONT></DIV>"));
    c = Convert("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl;}\\plain\\f0\\fs20 x\\par}");
    EXPECT_EQ(c.html, Html("<DIV><FONT color=#000000 face=\"A\" size=2>x</FONT></DIV>\r\n"
                           "<DIV><FONT color=#000000 face=\"A\" size=2></FONT></DIV>"));
}

TEST(ConvertRtfToHtml, StylesAndColours) {
    std::string colours =
        ";\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red18\\green52\\blue86;";
    Conversion c = Convert(
        Document("\\plain\\f1\\fs20\\cf1\\b\\i\\ul x\\plain\\f0\\fs20\\cf2 y\\cf3\\b0 z\\par ",
                 "{\\f0\\fnil Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}", colours));
    EXPECT_EQ(c.html,
              Html("<DIV><STRONG><EM><U><FONT color=#ff0000 face=\"Times New Roman\" size=2>x"
                   "</STRONG></EM></U></FONT>"
                   "<FONT color=#0000ff face=\"Arial\" size=2>y</FONT>"
                   "<FONT color=#123456 face=\"Arial\" size=2>z</FONT>" // \b0: bold ends
                   "</DIV>\r\n<DIV><FONT color=#123456 face=\"Arial\" size=2></FONT></DIV>"));
}

TEST(ConvertRtfToHtml, FontsAndColoursOutsideTheTables) {
    std::string longName(100, 'N');
    std::string fonts = "{\\f0\\fnil Arial;}{\\f300\\fnil Big;}{\\f-1\\fnil Minus;}"
                        "{\\f99999999999999999999\\fnil Huge;}{\\f5\\fnil " +
                        longName + ";}{\\f6\\fnil Q\"<x>;}";
    Conversion c = Convert(Document("\\plain\\f5\\fs20 a\\plain\\f300\\fs20 b"
                                    "\\plain\\f-1\\fs20\\cf5000 c\\plain\\f6\\fs20\\cf-3 d"
                                    "\\plain\\f99999999999999999999\\fs99999999999999 e\\par ",
                                    fonts, "\\red300\\green-5\\blue99999999999;"));
    ASSERT_TRUE(c.ok);
    EXPECT_NE(c.html.find("color=#ff00ff face=\"" + longName.substr(0, 63) + "\" size=2>a"),
              std::string::npos)
        << c.html;
    EXPECT_NE(c.html.find("face=\"\" size=2>b"), std::string::npos);
    EXPECT_NE(c.html.find("color=#000000 face=\"\" size=2>c"), std::string::npos);
    EXPECT_NE(c.html.find("face=\"Q&quot;&lt;x&gt;\" size=2>d"), std::string::npos);
    EXPECT_NE(c.html.find("face=\"\" size=2>e"), std::string::npos);

    // Only the first 1024 colours are kept; an index past them is black.
    std::string many;
    for (int i = 0; i < 1100; ++i) {
        many += i == 1023 ? "\\red0\\green0\\blue1;" : "\\red0\\green0\\blue2;";
    }
    c = Convert(Document("\\cf1023 a\\cf1024 b\\par ", "{\\f0\\fnil Arial;}", many));
    EXPECT_NE(c.html.find("color=#000001 face=\"Arial\" size=1>a"), std::string::npos);
    EXPECT_NE(c.html.find("color=#000000 face=\"Arial\" size=1>b"), std::string::npos);
}

TEST(ConvertRtfToHtml, HostileInputNeverOverruns) {
    // Every prefix of a document and some broken bodies: each gives HTML or nothing, and the
    // sanitizers see no bad access.
    std::string full = Document("\\plain\\f0\\fs20\\cf1 a \\{b\\\\ \\tab c\r\n\\par \\b\\i "
                                "x\\plain\\f9\\fs2 y\\par ",
                                "{\\f0\\fnil Arial;}{\\f9 Z;}", ";\\red1\\green2\\blue3;");
    ASSERT_TRUE(Convert(full).ok);
    for (size_t n = 0; n < full.size(); ++n) {
        Convert(full.substr(0, n));
    }
    const char* const bodies[] = {
        " }",
        "\\ }",
        "}}}}{{{{ }",
        "\\plain\\f\\fs }",
        "\\plain\\f- }",
        "text without words }",
        "\\b x\\",
        "\\b x\\{ }\\",
        "\\b { }\\par {\\b x}}} \\",
        "\\plain\\f0\\fs20 x }\\par",
        "x \\\r\n",  // a backslash right before the closing brace's line break
        "a\\'00b }", // a NUL character, which would end the HTML text
    };
    for (const char* body : bodies) {
        Conversion c = Convert(Document(body));
        if (c.ok) {
            EXPECT_EQ(c.html.rfind("</BODY>\n</HTML>\n"), c.html.size() - 16) << body;
        }
    }

    // A long body of tiny segments and a long run of blanks.
    std::string body;
    for (int i = 0; i < 2000; ++i) {
        body += "\\b x";
    }
    body += "\\plain\\par " + std::string(30000, ' ') + "x\\par ";
    Conversion c = Convert(Document(body));
    ASSERT_TRUE(c.ok);
    std::string blanks;
    for (int i = 0; i < 29999; ++i) {
        blanks += "&nbsp;";
    }
    EXPECT_NE(c.html.find(">" + blanks + " x</FONT>"), std::string::npos);
}

} // namespace
