// What the Help commands hand to the browser.
#include <gtest/gtest.h>

#include "app/help_targets.h"

namespace {

TEST(HelpTargets, LocalDocumentsAndWebAddresses) {
    const char* dir = "C:\\Kestro\\";
    EXPECT_EQ(HelpTarget(10022, dir, 20), "C:\\Kestro\\DOCS\\documentation.htm");
    EXPECT_EQ(HelpTarget(10023, dir, 20), "C:\\Kestro\\DOCS\\encoders.htm");
    EXPECT_EQ(HelpTarget(10024, dir, 20), "C:\\Kestro\\DOCS\\faq.htm");
    EXPECT_EQ(HelpTarget(10025, dir, 20), "http://www.kestro.example/support.htm");
    EXPECT_EQ(HelpTarget(10026, dir, 20),
              "http://www.kestro.example/cgi-bin/checkupdate.cgi?version%3d20");
    EXPECT_EQ(HelpTarget(10046, dir, 20), "http://www.kestro.example/download.htm#plugin");
    EXPECT_EQ(HelpTarget(1005, dir, 20), "http://www.kestro.example/");
    EXPECT_EQ(HelpTarget(10027, dir, 20), HelpTarget(1005, dir, 20));
    EXPECT_EQ(HelpTarget(10020, dir, 20), "");
}

TEST(HelpTargets, TheLauncherPageLinksTheWebSite) {
    EXPECT_EQ(HelpLauncherPage(), "<p align=\"center\"><a href=\"http://www.kestro.example/\">"
                                  "KESTRO WEBSITE</a></p>\n");
}

TEST(HelpTargets, AProgramPathSplitsAfterItsLastBackslash) {
    std::string folder, name;
    SplitProgramPath("C:\\Program Files\\Web\\browser.exe", folder, name);
    EXPECT_EQ(folder, "C:\\Program Files\\Web\\");
    EXPECT_EQ(name, "browser.exe");
    name = "stale";
    SplitProgramPath("browser.exe", folder, name);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "browser.exe");
}

} // namespace
