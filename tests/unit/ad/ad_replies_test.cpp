// The ad servers' replies: the location tag, the archive reply's tags and where its ZIP begins,
// and the bounds every scan keeps to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ad/ad_replies.h"

namespace {

const std::string kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n";
const std::string kZip = std::string("PK\x03\x04", 4) + std::string("\0\0zip bytes", 11);

bool Parse(const std::string& reply, ArchiveDescription& d) {
    return ParseArchiveReply(reply.data(), reply.size(), d);
}

TEST(AdReplies, AppendingKeepsOnlyWhatFits) {
    char buffer[8] = {};
    size_t used = AppendReplyBytes(buffer, 7, 0, "abcd", 4);
    used = AppendReplyBytes(buffer, 7, used, "efghij", 6);
    EXPECT_EQ(used, 7u);
    EXPECT_EQ(std::string(buffer, 7), "abcdefg");
    EXPECT_EQ(AppendReplyBytes(buffer, 7, used, "x", 1), 7u);
    EXPECT_EQ(buffer[7], '\0') << "nothing written past the capacity";
}

TEST(AdReplies, TheLocationStandsBetweenItsTagsAnywhere) {
    struct Case {
        std::string reply;
        bool found;
        const char* url;
    };
    const Case cases[] = {
        {kHeaders + "<adlocation>http://127.0.0.1:81/ad.cgi</adlocation>", true,
         "http://127.0.0.1:81/ad.cgi"},
        {"<html><adlocation>x</adlocation><adlocation>y</adlocation>", true, "x"},
        {"<adlocation></adlocation>", true, ""},
        {kHeaders + "<adlocation>http://h/a", false, ""},
        {kHeaders + "http://h/a</adlocation>", false, ""},
        {"</adlocation><adlocation>", false, ""},
        {std::string("<adloc\0ation>h</adlocation>", 27), false, ""},
        {std::string("<adlocation>h\0</adlocation>", 27), false, ""},
    };
    for (const Case& c : cases) {
        char url[kAdTextSize] = "unchanged";
        EXPECT_EQ(FindAdLocation(c.reply.data(), c.reply.size(), url, sizeof url), c.found)
            << c.reply;
        if (c.found) {
            EXPECT_STREQ(url, c.url);
        }
    }
    char small[4];
    EXPECT_FALSE(FindAdLocation("<adlocation>abcd</adlocation>", 29, small, sizeof small));
    EXPECT_TRUE(FindAdLocation("<adlocation>abc</adlocation>", 28, small, sizeof small));
}

TEST(AdReplies, AnArchiveReplyGivesLinkFramesDelaysAndTheZip) {
    const std::string tags = "<link> http://ads.example/go?id=7</link>\r\n<num>3</num>"
                             "<delay>100</delay><delay>+100</delay>\n<delay>500</delay>"
                             "<times>4</times><filesize>15</filesize>\r\n";
    const std::string reply = kHeaders + tags + kZip;
    ArchiveDescription d;
    ASSERT_TRUE(Parse(reply, d));
    EXPECT_STREQ(d.link, "http://ads.example/go?id=7");
    EXPECT_EQ(d.frameCount, 3);
    EXPECT_EQ(std::vector<int>(d.delays, d.delays + 3), (std::vector<int>{100, 100, 500}));
    EXPECT_EQ(d.declaredZipSize, 15);
    EXPECT_EQ(d.zipStart, kHeaders.size() + tags.size());
    EXPECT_EQ(d.zipSize, kZip.size());
}

TEST(AdReplies, AMalformedArchiveReplyIsRefused) {
    const std::string link = "<link>http://a/</link>";
    const std::string num = "<num>2</num>";
    const std::string delays = "<delay>10</delay><delay>20</delay>";
    const std::string size = "<filesize>15</filesize>";
    const std::string cases[] = {
        num + delays + size + kZip,                             // no link
        link + delays + size + kZip,                            // no num
        link + num + size + kZip,                               // no delay
        link + num + delays + kZip,                             // no filesize
        link + num + delays + size,                             // no ZIP
        link + "<num>3</num>" + delays + size + kZip,           // too few delays
        link + "<num>0</num>" + delays + size + kZip,           // no frames
        link + "<num>-2</num>" + delays + size + kZip,          // negative count
        link + "<num>33</num>" + delays + size + kZip,          // beyond the delay table
        link + "<num>99999999999</num>" + delays + size + kZip, // beyond int
        link + "<num>two</num>" + delays + size + kZip,         // no number
        link + num + "<delay>10</delay><delay>x</delay>" + size + kZip,
        link + num + delays + "<filesize></filesize>" + kZip,
        std::string("\0", 1) + link + num + delays + size + kZip, // text ends at a NUL
        link + num + delays + std::string("\0", 1) + size + kZip,
        "<link>" + std::string(1024, 'L') + "</link>" + num + delays + size + kZip,
    };
    for (const std::string& reply : cases) {
        ArchiveDescription d;
        EXPECT_FALSE(Parse(reply, d)) << reply;
    }
    ArchiveDescription d;
    EXPECT_TRUE(
        Parse("<link>" + std::string(1023, 'L') + "</link>" + num + delays + size + kZip, d));
    EXPECT_EQ(std::string(d.link), std::string(1023, 'L'));
}

TEST(AdReplies, NumbersAreHeldInsideTheirRanges) {
    std::string delays;
    for (int i = 0; i < kMaxAdFrames; ++i) {
        delays += i % 2 ? "<delay>-40</delay>" : "<delay>99999999999</delay>";
    }
    const std::string reply =
        "<link>a</link><num>32</num>" + delays + "<filesize>-7</filesize>" + kZip;
    ArchiveDescription d;
    ASSERT_TRUE(Parse(reply, d));
    EXPECT_EQ(d.frameCount, kMaxAdFrames);
    EXPECT_EQ(d.delays[0], kMaxFrameDelayMs);
    EXPECT_EQ(d.delays[1], 0);
    EXPECT_EQ(d.declaredZipSize, -7);
}

TEST(AdReplies, TheLinkEndsAtWhiteSpaceOrItsClosingTag) {
    const std::string rest = "<num>1</num><delay>1</delay><filesize>1</filesize>" + kZip;
    const std::pair<std::string, std::string> cases[] = {
        {"<link>http://a/b c</link>", "http://a/b"},
        {"<link>http://a/</link>x</link>", "http://a/"},
        {"<link></link>", ""},
        {"<link>\r\n\thttp://a/\r\n</link>", "http://a/"},
    };
    for (const auto& c : cases) {
        ArchiveDescription d;
        ASSERT_TRUE(Parse(c.first + rest, d)) << c.first;
        EXPECT_EQ(std::string(d.link), c.second) << c.first;
    }
}

TEST(AdReplies, AFullBufferWithoutNulIsScannedOnlyToItsEnd) {
    std::string reply = "<link>a</link><num>1</num><delay>5</delay><filesize>9</filesize>PK";
    reply.resize(kArchiveBufferSize, 'z');
    // A copy on the heap of exactly this size: a scan past its end would be reported.
    std::vector<char> buffer(reply.begin(), reply.end());
    ArchiveDescription d;
    ASSERT_TRUE(ParseArchiveReply(buffer.data(), buffer.size(), d));
    EXPECT_EQ(d.zipSize, kArchiveBufferSize - (reply.find("PK")));
    buffer.back() = '<';
    char url[kAdTextSize];
    EXPECT_FALSE(FindAdLocation(buffer.data(), buffer.size(), url, sizeof url));
}

} // namespace
