// The addresses the banner fetches and the request bytes it sends.
#include <gtest/gtest.h>

#include <string>

#include "ad/ad_url.h"

namespace {

TEST(AdUrl, SplitsHostPortAndPathAndRefusesWhatCannotBeFetched) {
    const struct {
        std::string url;
        const char* host; // nullptr: refused
        int port;
        const char* path;
    } cases[] = {
        {"http://www.kestro.example/cgi-bin/adlocation.cgi", "www.kestro.example", 80,
         "/cgi-bin/adlocation.cgi"},
        {"http://127.0.0.1:8080/a.cgi", "127.0.0.1", 8080, "/a.cgi"},
        {"HTTP://ads.example/b.zip?x=1:2", "ads.example", 80, "/b.zip?x=1:2"},
        {"ads.example:65535", "ads.example", 65535, "/"},
        {"http://h/" + std::string(1022, 'p'), "h", 80, nullptr},
        {"http://h/" + std::string(1023, 'p'), nullptr, 0, nullptr},
        {"http://" + std::string(1024, 'h'), nullptr, 0, nullptr},
        {"", nullptr, 0, nullptr},
        {"http:///path", nullptr, 0, nullptr},
        {"http://:80/", nullptr, 0, nullptr},
        {"http://host:/", nullptr, 0, nullptr},
        {"http://host:0/", nullptr, 0, nullptr},
        {"http://host:65536/", nullptr, 0, nullptr},
        {"http://host:123456/", nullptr, 0, nullptr},
        {"http://host:8x/", nullptr, 0, nullptr},
        {"http://host/a b", nullptr, 0, nullptr},
        {"http://host/a\r\nX-Injected: 1", nullptr, 0, nullptr},
    };
    for (const auto& c : cases) {
        AdUrl url;
        ASSERT_EQ(ParseAdUrl(c.url.c_str(), url), c.host != nullptr) << c.url;
        if (c.host) {
            EXPECT_STREQ(url.host, c.host) << c.url;
            EXPECT_EQ(url.port, c.port) << c.url;
            EXPECT_EQ(url.path, c.path ? c.path : c.url.substr(8)) << c.url;
        }
    }
}

TEST(AdUrl, TheRequestCarriesThePortOnItsHostLine) {
    AdUrl url;
    char request[kAdTextSize];
    ASSERT_TRUE(ParseAdUrl("http://127.0.0.1:8080/cgi-bin/adlocation.cgi", url));
    EXPECT_EQ(FormatAdRequest(url, request, 83), 82u) << "with its terminator it just fits";
    EXPECT_STREQ(request, "GET /cgi-bin/adlocation.cgi HTTP/1.0\r\nHost: 127.0.0.1:8080\r\n"
                          "User-Agent: Kestro\r\n\r\n");
    ASSERT_TRUE(ParseAdUrl("www.kestro.example", url));
    FormatAdRequest(url, request, sizeof request);
    EXPECT_STREQ(request, "GET / HTTP/1.0\r\nHost: www.kestro.example:80\r\n"
                          "User-Agent: Kestro\r\n\r\n");
    EXPECT_EQ(FormatAdRequest(url, request, 67), 0u) << "one byte short";
    EXPECT_STREQ(request, "");
}

} // namespace
