// The banner of a real main window against the local ad server that scripts/test.sh starts
// (scripts/ad-server.py makes its archives when asked). By hand:
//   /usr/bin/python3 scripts/ad-server.py 8731 /tmp/ad-requests &
//   export KESTRO_AD_PORT=8731 KESTRO_AD_REQUESTS='Z:\tmp\ad-requests'
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ad/win/ad_banner.h"
#include "app/win/app_state.h"
#include "base/win/scoped_handles.h"
#include "compose/win/picture_buttons.h"
#include "compose/win/skin_images.h"
#include "resources/skin_ids.h"
#include "support/canvas.h"
#include "support/harness.h"
#include "support/send_fixture.h"
#include "support/stand_in_browser.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kBlack = 0, kWhite = 0xFFFFFF;
constexpr int kWaitMs = 15000;
const std::string kNobody = "http://127.0.0.1:1"; // refuses every connection

std::string Server() {
    const char* port = std::getenv("KESTRO_AD_PORT");
    return std::string("http://127.0.0.1:") + (port ? port : "0");
}

std::string LocationOf(const std::string& archiveUrl) {
    return Server() + "/location?to=" + archiveUrl;
}

// An archive the server makes as the query says; every one has an address of its own.
std::string ArchiveUrl(const std::string& query) {
    static int count = 0;
    return Server() + "/archive?" + query + "&t=" + std::to_string(GetTickCount()) + "-" +
           std::to_string(++count);
}

// The names of the files in `folder` that match `pattern`, "." and ".." left out.
std::vector<std::string> FileNames(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const ScopedFindHandle find(FindFirstFileA((folder + pattern).c_str(), &entry));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.get(), &entry)) {
        if (std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..") {
            names.push_back(entry.cFileName);
        }
    }
    return names;
}

// The requests the server received for `path`.
std::vector<std::string> RequestsFor(const std::string& path) {
    const std::string folder = std::string(std::getenv("KESTRO_AD_REQUESTS")) + "\\";
    std::vector<std::string> found;
    for (const std::string& name : FileNames(folder, "*.req")) {
        const std::string request = ReadWholeFile(folder + name);
        if (request.rfind("GET " + path + " ", 0) == 0) {
            found.push_back(request);
        }
    }
    return found;
}

class AdBanner : public MainWindowTest {
  protected:
    void SetUp() override {
        if (!std::getenv("KESTRO_AD_PORT") || !std::getenv("KESTRO_AD_REQUESTS")) {
            GTEST_SKIP() << "no ad server: see the comment at the top of ad_banner_test.cpp";
        }
    }
    void TearDown() override {
        if (window_) {
            MainWindowTest::TearDown();
        }
    }
    std::string InitialSettingsFile() const override {
        return "VERSION=20\nUSEMAPI=1\nX=20\nY=20\nWIDTH=720\nHEIGHT=553\nADLOCATION1=" +
               location_ + "\nADLOCATION2=" + location_ + "\nADBANNER=" + bannerOn_ + "\n";
    }

    // Creates the main window, 700 pixels wide inside, whose banner asks `location`.
    void Open(const std::string& location, const char* bannerOn = "1") {
        location_ = location;
        bannerOn_ = bannerOn;
        MainWindowTest::SetUp();
        RECT outer, client;
        GetWindowRect(window_, &outer);
        GetClientRect(window_, &client);
        SetWindowPos(window_, nullptr, 0, 0, 700 + outer.right - outer.left - client.right,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
        banner_ = app.adBanner;
    }

    // Opens the window on a location reply that names the archive, and waits for the archive.
    void OpenWithArchive(const std::string& query) {
        Open(LocationOf(ArchiveUrl(query)));
        ASSERT_TRUE(PumpUntil(
            [] {
                return adBanner.locationKnown && adBanner.receivedCount > 0 &&
                       !adBanner.archiveRequestActive;
            },
            kWaitMs));
    }

    // Fetches another archive, as the minute timer does.
    void FetchArchive(const std::string& url) {
        CopyField(adBanner.archiveUrl, sizeof adBanner.archiveUrl, url.c_str());
        Tick(kArchiveTimerId);
        ASSERT_TRUE(adBanner.archiveRequestActive);
        ASSERT_TRUE(PumpUntil([] { return !adBanner.archiveRequestActive; }, kWaitMs));
    }

    void Tick(UINT_PTR timer) { SendMessageA(banner_, WM_TIMER, timer, 0); }

    // A pixel of the banner as it paints itself, 0xRRGGBB.
    uint32_t Pixel(int x, int y = 10) const {
        RECT client;
        GetClientRect(banner_, &client);
        Canvas canvas(client.right, client.bottom);
        SendMessageA(banner_, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        return canvas.Pixels().at(static_cast<size_t>(y * client.right + x));
    }

    // The built-in image at the fallback index is what the picture shows.
    bool ShowsFallback() const {
        COLORREF image;
        {
            const ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
            const SelectedObject selection(dc.get(),
                                           SkinImage(SKIN_SET_BANNER, adBanner.fallbackIndex));
            image = GetPixel(dc.get(), 200, 10);
        } // a bitmap is selected into one device context at a time: the banner's comes next
        const uint32_t expected = GetRValue(image) << 16 | GetGValue(image) << 8 | GetBValue(image);
        return adBanner.fallbackMode && !adBanner.framesReady && Pixel(116 + 200) == expected;
    }

    std::string location_;
    const char* bannerOn_ = "1";
    HWND banner_ = nullptr;
};

TEST_F(AdBanner, TheLocationReplyStartsTheArchiveFetchAtOnceAndItsFrameStandsAt116) {
    const std::string archive = ArchiveUrl("frames=ff0000");
    Open(LocationOf(archive));
    ASSERT_TRUE(PumpUntil([] { return adBanner.framesReady; }, kWaitMs)) << "not at once";
    const std::string rest =
        " HTTP/1.0\r\nHost: " + Server().substr(7) + "\r\nUser-Agent: Kestro\r\n\r\n";
    for (const std::string& url : {location_, archive}) {
        const std::string path = url.substr(Server().size());
        EXPECT_EQ(RequestsFor(path), std::vector<std::string>{"GET " + path + rest});
    }
    // In a main window 700 pixels wide: two lines around the picture at 116.
    const struct {
        int x, y;
        uint32_t colour;
    } expected[] = {{114, 10, kWhite}, {115, 0, kBlack}, {115, 59, kBlack}, {116, 0, kRed},
                    {583, 59, kRed},   {584, 0, kBlack}, {584, 59, kBlack}, {585, 10, kWhite}};
    for (const auto& point : expected) {
        EXPECT_EQ(Pixel(point.x, point.y), point.colour) << point.x << "," << point.y;
    }
}

TEST_F(AdBanner, FramesOf100And100And500MsStand200And200And600) {
    OpenWithArchive("frames=ff0000,00ff00,0000ff&delays=100,100,500");
    ASSERT_TRUE(adBanner.framesReady);
    // Only the test's ticks drive the rotation: nothing is pumped in between.
    std::vector<std::pair<uint32_t, int>> stood; // a colour and its ticks, from a switch on
    for (uint32_t shown = Pixel(300); stood.size() < 5; shown = Pixel(300)) {
        int ticks = 0;
        for (; Pixel(300) == shown && ticks < 40; ++ticks) {
            Tick(kRotationTimerId);
        }
        stood.push_back({shown, ticks});
    }
    for (size_t i = 1; i < stood.size(); ++i) {
        EXPECT_EQ(stood[i].second, stood[i].first == kBlue ? 12 : 4) << std::hex << stood[i].first;
    }
}

TEST_F(AdBanner, BrokenRepliesFallBackAndAShortZipShowsTheFramesOnDisk) {
    OpenWithArchive("frames=ff0000,0000ff");
    const struct {
        const char* query;
        bool fallback;
    } cases[] = {{"frames=ff0000,00ff00,0000ff&filesize=none", true},
                 {"frames=ff0000,00ff00,0000ff&delays=100,100", true},
                 {"frames=00ff00,00ff00&filesize=wrong", false}};
    for (const auto& c : cases) {
        FetchArchive(ArchiveUrl("frames=ff0000,0000ff"));
        FetchArchive(ArchiveUrl(c.query));
        EXPECT_EQ(ShowsFallback(), c.fallback) << c.query;
        if (!c.fallback) {
            EXPECT_EQ(Pixel(300), kRed) << "the first frame on disk again, not the new one";
        }
    }
}

TEST_F(AdBanner, AClickOpensTheLinkInTheBrowserAndTurnsTheLogo) {
    OpenWithArchive("frames=ff0000&link=http://127.0.0.1:1/offer%3Fid%3D7");
    StandInBrowser browser(folder_);
    SendMessageA(banner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 30));
    EXPECT_TRUE(pictureButtonState.logo.running);
    EXPECT_NE(browser.WaitForLog().find("http://127.0.0.1:1/offer?id=7"), std::string::npos);
}

TEST_F(AdBanner, TurnedOffItShowsABuiltInImageAndAsksNoServer) {
    Open(LocationOf(ArchiveUrl("frames=ff0000")), "0");
    Tick(kArchiveTimerId);
    PumpMessagesFor(500);
    EXPECT_TRUE(RequestsFor(location_.substr(Server().size())).empty());
    EXPECT_TRUE(ShowsFallback());
    StandInBrowser browser(folder_);
    SendMessageA(banner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 30));
    EXPECT_NE(browser.WaitForLog().find("http://www.kestro.example/"), std::string::npos);
}

TEST_F(AdBanner, AFetchThatCannotConnectIsTriedAgainTheNextMinute) {
    Open(kNobody + "/location");
    ASSERT_TRUE(PumpUntil([] { return !adBanner.locationRequestActive; }, kWaitMs));
    EXPECT_FALSE(adBanner.locationKnown);
    CopyField(programSettings.adLocation1, LocationOf(ArchiveUrl("frames=ff0000")));
    CopyField(programSettings.adLocation2, programSettings.adLocation1);
    Tick(kArchiveTimerId);
    ASSERT_TRUE(PumpUntil([] { return adBanner.framesReady; }, kWaitMs));
    for (int minute = 0; minute < 2; ++minute) {
        FetchArchive(kNobody + "/archive"); // asked every minute, shown the built-in images
        EXPECT_TRUE(ShowsFallback()) << minute;
    }
}

TEST_F(AdBanner, HostileArchivesWriteNothingButFrameFiles) {
    const char* const one = "num=1&delays=100&";
    const std::string cases[] = {"extra=..%5Cx.bmp:bmp",      "extra=../x.bmp:bmp",
                                 "extra=C:%5Cx.bmp:bmp",      "extra=%5Cx.bmp:bmp",
                                 "extra=sub%5C1.bmp:bmp",     "extra=kto2mp3.exe:bmp",
                                 "extra=Kestro.ini:text",     "extra=1.bmp:zeros",
                                 "frames=ff0000&truncate=60", "frames=ff0000&names=1.BMP"};
    OpenWithArchive(one + cases[0]);
    WriteWholeFile(folder_ + "kto2mp3.exe", "MZ stand-in");
    const std::string settings = ReadWholeFile(folder_ + "Kestro.ini");
    const std::string parent = folder_.substr(0, folder_.rfind('\\', folder_.size() - 2) + 1);
    for (const std::string& query : cases) {
        if (&query != &cases[0]) {
            FetchArchive(ArchiveUrl(one + query));
        }
        for (const std::string& name : FileNames(folder_, "*")) {
            EXPECT_TRUE(name == "Kestro.ini" || name == "kto2mp3.exe" || name == "ad.zip" ||
                        name == "1.bmp")
                << query << ": " << name;
        }
        EXPECT_EQ(ReadWholeFile(folder_ + "kto2mp3.exe"), "MZ stand-in") << query;
        EXPECT_EQ(ReadWholeFile(folder_ + "Kestro.ini"), settings) << query;
        EXPECT_FALSE(FileExists(parent + "x.bmp") || FileExists("C:\\x.bmp") ||
                     FileExists("\\x.bmp"))
            << query;
        EXPECT_EQ(ShowsFallback(), query != cases[9]) << query;
    }
    EXPECT_EQ(Pixel(300), kRed);
}

} // namespace
