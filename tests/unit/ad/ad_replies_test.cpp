// The ad servers' replies: the location tag, the archive reply's tags and where its ZIP begins,
// and the bounds every scan keeps to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ad/ad_replies.h"

namespace {

const std::string kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: application/zip\r\n\r\n";
const std::string kZip = std::string("PK\x03\x04\0\0zip", 9);
const std::string kLongest(31, 'a');

bool Parse(const std::string& reply, ArchiveDescription& d) {
    return ParseArchiveReply(reply.data(), reply.size(), d);
}

TEST(AdReplies, TheLocationStandsBetweenItsTagsAnywhereBeforeANul) {
    const struct {
        std::string reply;
        const char* url; // nullptr: not found
    } cases[] = {
        {kHeaders + "<adlocation>http://127.0.0.1:81/ad.cgi</adlocation>",
         "http://127.0.0.1:81/ad.cgi"},
        {"<p><adlocation>x</adlocation><adlocation>y</adlocation>", "x"},
        {"<adlocation></adlocation>", ""},
        {"<adlocation>" + std::string(31, 'a') + "</adlocation>", kLongest.c_str()},
        {"<adlocation>" + std::string(32, 'a') + "</adlocation>", nullptr}, // beyond 32 bytes
        {kHeaders + "<adlocation>http://h/a", nullptr},
        {"http://h/a</adlocation>", nullptr},
        {"</adlocation><adlocation>", nullptr},
        {std::string("<adlocation>h\0</adlocation>", 27), nullptr},
    };
    for (const auto& c : cases) {
        char url[32] = "old";
        EXPECT_EQ(FindAdLocation(c.reply.data(), c.reply.size(), url, sizeof url), c.url != nullptr)
            << c.reply;
        EXPECT_STREQ(url, c.url ? c.url : "old") << c.reply;
    }
    char buffer[8] = {};
    EXPECT_EQ(AppendReplyBytes(buffer, 7, AppendReplyBytes(buffer, 7, 0, "abcd", 4), "efghij", 6),
              7u);
    EXPECT_EQ(std::string(buffer), "abcdefg") << "bytes beyond the capacity are dropped";
}

// An archive reply of these tags, then the ZIP.
std::string Reply(const std::string& link = "<link>http://a/</link>",
                  const std::string& num = "<num>2</num>",
                  const std::string& delays = "<delay>10</delay><delay>20</delay>",
                  const std::string& size = "<filesize>9</filesize>",
                  const std::string& zip = kZip) {
    return link + num + delays + size + zip;
}

TEST(AdReplies, AnArchiveReplyGivesLinkFramesDelaysAndTheZip) {
    const std::string tags = "<link>\r\n http://ads.example/go?id=7 x</link>\r\n<num> 3</num>"
                             "<delay>100</delay><delay>+100</delay>\n<delay>99999999999</delay>"
                             "<times>4</times><filesize>-9</filesize>\r\n";
    ArchiveDescription d;
    ASSERT_TRUE(Parse(kHeaders + tags + kZip, d));
    EXPECT_STREQ(d.link, "http://ads.example/go?id=7");
    EXPECT_EQ(d.frameCount, 3);
    EXPECT_EQ(std::vector<int>(d.delays, d.delays + 3), (std::vector<int>{100, 100, 3600000}));
    EXPECT_EQ(d.declaredZipSize, -9);
    EXPECT_EQ(d.zipStart, kHeaders.size() + tags.size());
    EXPECT_EQ(d.zipSize, kZip.size());
    ASSERT_TRUE(
        Parse(Reply("<link>http://a/</link>b</link>", "<num>1</num>", "<delay>-5</delay>"), d));
    EXPECT_STREQ(d.link, "http://a/");
    EXPECT_EQ(d.delays[0], 0);
    ASSERT_TRUE(Parse(Reply("<link>" + std::string(1023, 'L') + "</link>"), d));
    EXPECT_EQ(std::string(d.link), std::string(1023, 'L'));
}

TEST(AdReplies, AMalformedArchiveReplyIsRefused) {
    const std::string nul(1, '\0');
    const std::string cases[] = {
        Reply(""),
        Reply("<link>" + std::string(1024, 'L') + "</link>"),
        Reply(nul + "<link>a</link>"),
        Reply("<link>a</link>", ""),
        Reply("<link>a</link>", "<num>0</num>"),
        Reply("<link>a</link>", "<num>-2</num>"),
        Reply("<link>a</link>", "<num>33</num>"),
        Reply("<link>a</link>", "<num>99999999999</num>"),
        Reply("<link>a</link>", "<num>two</num>"),
        Reply("<link>a</link>", "<num>3</num>"),
        Reply("<link>a</link>", "<num>2</num>", ""),
        Reply("<link>a</link>", "<num>2</num>", "<delay>10</delay><delay>x</delay>"),
        Reply("<link>a</link>", "<num>2</num>", "<delay>10</delay><delay>20</delay>", ""),
        Reply("<link>a</link>", "<num>2</num>", "<delay>1</delay><delay>2</delay>",
              "<filesize></filesize>"),
        Reply("<link>a</link>", "<num>2</num>", "<delay>1</delay>" + nul + "<delay>2</delay>"),
        Reply("<link>a</link>", "<num>2</num>", "<delay>1</delay><delay>2</delay>",
              "<filesize>1</filesize>", ""),
    };
    for (const std::string& reply : cases) {
        ArchiveDescription d;
        EXPECT_FALSE(Parse(reply, d)) << reply;
    }
}

TEST(AdReplies, AFullBufferWithoutNulIsScannedOnlyToItsEnd) {
    std::string reply = "<link>a</link><num>1</num><delay>5</delay><filesize>9</filesize>PK";
    const size_t zipStart = reply.size() - 2;
    reply.resize(kArchiveBufferSize, 'z');
    // Exactly this size on the heap: a scan past its end would be reported.
    std::vector<char> buffer(reply.begin(), reply.end());
    ArchiveDescription d;
    ASSERT_TRUE(ParseArchiveReply(buffer.data(), buffer.size(), d));
    EXPECT_EQ(d.zipSize, kArchiveBufferSize - zipStart);
    buffer.back() = '<';
    char url[kAdTextSize];
    EXPECT_FALSE(FindAdLocation(buffer.data(), buffer.size(), url, sizeof url));
}

} // namespace
