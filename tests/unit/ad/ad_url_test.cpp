// The addresses the banner fetches and the request bytes it sends.
#include <gtest/gtest.h>

#include <string>

#include "ad/ad_url.h"

namespace {

TEST(AdUrl, SplitsHostPortAndPath) {
    struct Case {
        const char* url;
        const char* host;
        int port;
        const char* path;
    };
    const Case cases[] = {
        {"http://www.kestro.example/cgi-bin/adlocation.cgi", "www.kestro.example", 80,
         "/cgi-bin/adlocation.cgi"},
        {"http://127.0.0.1:8080/cgi-bin/adlocation.cgi", "127.0.0.1", 8080,
         "/cgi-bin/adlocation.cgi"},
        {"HTTP://ads.example/a/b.zip?x=1:2", "ads.example", 80, "/a/b.zip?x=1:2"},
        {"ads.example", "ads.example", 80, "/"},
        {"ads.example:65535", "ads.example", 65535, "/"},
    };
    for (const Case& c : cases) {
        AdUrl url;
        ASSERT_TRUE(ParseAdUrl(c.url, url)) << c.url;
        EXPECT_STREQ(url.host, c.host) << c.url;
        EXPECT_EQ(url.port, c.port) << c.url;
        EXPECT_STREQ(url.path, c.path) << c.url;
    }
}

TEST(AdUrl, RefusesWhatCannotBeFetched) {
    const std::string longHost = "http://" + std::string(1024, 'h') + "/";
    const std::string longPath = "http://h/" + std::string(1023, 'p');
    const char* bad[] = {"",
                         "http://",
                         "http:///path",
                         "http://:80/",
                         "http://host:/",
                         "http://host:0/",
                         "http://host:65536/",
                         "http://host:8x/",
                         "http://host:123456/",
                         "http://host/a b",
                         "http://host/a\r\nX-Injected: 1",
                         "http://ho\tst/",
                         longHost.c_str(),
                         longPath.c_str()};
    for (const char* url : bad) {
        AdUrl parsed;
        EXPECT_FALSE(ParseAdUrl(url, parsed)) << url;
    }
    AdUrl parsed;
    EXPECT_TRUE(ParseAdUrl(("http://h/" + std::string(1022, 'p')).c_str(), parsed));
}

TEST(AdUrl, TheRequestCarriesThePortOnItsHostLine) {
    AdUrl url;
    ASSERT_TRUE(ParseAdUrl("http://127.0.0.1:8080/cgi-bin/adlocation.cgi", url));
    char request[kAdTextSize];
    const std::string expected = "GET /cgi-bin/adlocation.cgi HTTP/1.0\r\n"
                                 "Host: 127.0.0.1:8080\r\nUser-Agent: Kestro\r\n\r\n";
    EXPECT_EQ(FormatAdRequest(url, request, sizeof request), expected.size());
    EXPECT_EQ(request, expected);

    ASSERT_TRUE(ParseAdUrl("www.kestro.example", url));
    FormatAdRequest(url, request, sizeof request);
    EXPECT_STREQ(request, "GET / HTTP/1.0\r\nHost: www.kestro.example:80\r\n"
                          "User-Agent: Kestro\r\n\r\n");
    EXPECT_EQ(FormatAdRequest(url, request, 20), 0u) << "a request that does not fit";
    EXPECT_STREQ(request, "");
}

} // namespace
