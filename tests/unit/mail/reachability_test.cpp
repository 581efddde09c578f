#include "mail/reachability.h"

#include <gtest/gtest.h>

namespace {

TEST(Reachability, LoopbackHostsAreLocalhostAnd127Addresses) {
    for (const char* name :
         {"localhost", "LocalHost", "127.0.0.1", "127.1.2.3", "127.255.255.255"}) {
        EXPECT_TRUE(IsLoopbackHost(name)) << name;
    }
    for (const char* name : {"", "localhost.example.com", "mail.example.com", "128.0.0.1",
                             "127.0.0", "127.0.0.1.5", "127.0.0.256", "127.0.0.1 ", "1270.0.0.1",
                             "127.example.com", "127.0.0.0001", "10.0.0.1"}) {
        EXPECT_FALSE(IsLoopbackHost(name)) << name;
    }
    EXPECT_FALSE(IsLoopbackHost(nullptr));
}

TEST(Reachability, OnlyALoopbackLocalAddressCountsAsOffline) {
    const unsigned char loopback[4] = {127, 0, 0, 1};
    const unsigned char other[4] = {192, 0, 2, 7};
    const unsigned char otherLoopback[4] = {127, 0, 1, 1};
    EXPECT_FALSE(InternetCheckPasses("mail.example.com", true, loopback));
    EXPECT_TRUE(InternetCheckPasses("mail.example.com", true, other));
    EXPECT_TRUE(InternetCheckPasses("mail.example.com", true, otherLoopback));
    EXPECT_TRUE(InternetCheckPasses("mail.example.com", false, loopback)); // nothing found
    // A server on this machine needs no Internet.
    EXPECT_TRUE(InternetCheckPasses("127.0.0.1", true, loopback));
    EXPECT_TRUE(InternetCheckPasses("localhost", true, loopback));
}

} // namespace
