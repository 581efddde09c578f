// The banner of a real main window against the local ad server that scripts/test.sh starts
// (scripts/ad-server.py, which makes its archives when asked). By hand:
//   /usr/bin/python3 scripts/ad-server.py 8731 /tmp/ad-requests &
//   export KESTRO_AD_PORT=8731 KESTRO_AD_REQUESTS='Z:\tmp\ad-requests'
#include <winsock2.h> // before <windows.h>

#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ad/win/ad_banner.h"
#include "app/win/app_state.h"
#include "compose/win/picture_buttons.h"
#include "compose/win/skin_images.h"
#include "resources/skin_ids.h"
#include "support/canvas.h"
#include "support/harness.h"
#include "support/send_fixture.h"
#include "support/stand_in_browser.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kBlack = 0x000000,
                   kWhite = 0xFFFFFF;
constexpr int kWaitMs = 15000;

int ServerPort() {
    const char* port = std::getenv("KESTRO_AD_PORT");
    return port ? std::atoi(port) : 0;
}

std::string ServerUrl(const std::string& pathAndQuery) {
    return "http://127.0.0.1:" + std::to_string(ServerPort()) + pathAndQuery;
}

// Every character but letters and digits as %XX, for a URL inside a query.
std::string Escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
}

// A location server's address whose reply names `archiveUrl`.
std::string LocationOf(const std::string& archiveUrl) {
    return ServerUrl("/location?to=" + Escaped(archiveUrl));
}

// An archive made by the server; the query says what it holds (see scripts/ad-server.py).
std::string ArchiveUrl(const std::string& query) {
    static int count = 0;
    return ServerUrl("/archive?" + query + "&t=" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++count));
}

// The requests the server received whose request line holds `text`.
std::vector<std::string> RequestsHolding(const std::string& text) {
    const char* folder = std::getenv("KESTRO_AD_REQUESTS");
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry;
    const std::string base = std::string(folder ? folder : "") + "\\";
    HANDLE find = FindFirstFileA((base + "*.req").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const std::string request = ReadWholeFile(base + entry.cFileName);
        if (request.substr(0, request.find('\r')).find(text) != std::string::npos) {
            found.push_back(request);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

// A port on 127.0.0.1 where nobody listens.
int ClosedPort() {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&where), sizeof where);
    int length = sizeof where;
    getsockname(probe, reinterpret_cast<sockaddr*>(&where), &length);
    closesocket(probe);
    return ntohs(where.sin_port);
}

class AdBanner : public MainWindowTest {
  protected:
    void SetUp() override {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        if (ServerPort() <= 0) {
            GTEST_SKIP() << "no ad server: see the comment at the top of ad_banner_test.cpp";
        }
    }
    void TearDown() override {
        if (window_) {
            MainWindowTest::TearDown();
        }
        WSACleanup();
    }

    std::string InitialSettingsFile() const override {
        return "VERSION=20\nUSEMAPI=1\nX=20\nY=20\nWIDTH=720\nHEIGHT=553\nADLOCATION1=" +
               location_ + "\nADLOCATION2=" + location_ +
               "\nADBANNER=" + std::to_string(bannerOn_) + "\n";
    }

    // Creates the main window, 700 pixels wide inside, whose banner asks `location`.
    void Open(const std::string& location, int bannerOn = 1) {
        location_ = location;
        bannerOn_ = bannerOn;
        MainWindowTest::SetUp();
        RECT outer, client;
        GetWindowRect(window_, &outer);
        GetClientRect(window_, &client);
        SetWindowPos(window_, nullptr, 0, 0, 700 + (outer.right - outer.left) - client.right,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
        banner_ = app.adBanner;
    }

    // Opens the window with a location reply that names an archive, and waits for the archive.
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
    void FetchArchive(const std::string& query) {
        CopyField(adBanner.archiveUrl, sizeof adBanner.archiveUrl, ArchiveUrl(query).c_str());
        Tick(kArchiveTimerId);
        ASSERT_TRUE(adBanner.archiveRequestActive);
        ASSERT_TRUE(PumpUntil([] { return !adBanner.archiveRequestActive; }, kWaitMs));
    }

    void Tick(UINT_PTR timer) { SendMessageA(banner_, WM_TIMER, timer, 0); }

    // The banner as it paints itself, as 0xRRGGBB pixels of its client area.
    uint32_t Pixel(int x, int y = 10) const {
        RECT client;
        GetClientRect(banner_, &client);
        Canvas canvas(client.right, client.bottom);
        SendMessageA(banner_, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        return canvas.Pixels().at(static_cast<size_t>(y * client.right + x));
    }

    // The built-in image the banner shows now, at the same point.
    uint32_t FallbackPixel(int x, int y = 10) const {
        Canvas canvas(kBannerImageWidth, kBannerImageHeight);
        HDC source = CreateCompatibleDC(canvas.dc());
        HGDIOBJ old = SelectObject(source, SkinImage(SKIN_SET_BANNER, adBanner.fallbackIndex));
        BitBlt(canvas.dc(), 0, 0, kBannerImageWidth, kBannerImageHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return canvas.Pixels().at(static_cast<size_t>(y * kBannerImageWidth + x));
    }

    bool ShowsFallback() const {
        return adBanner.fallbackMode && !adBanner.framesReady &&
               Pixel(116 + 200) == FallbackPixel(200);
    }

    std::string location_;
    int bannerOn_ = 1;
    HWND banner_ = nullptr;
};

TEST_F(AdBanner, TheLocationReplyStartsTheArchiveFetchAtOnceWithTheStatedRequests) {
    const std::string archive = ArchiveUrl("frames=ff0000");
    const DWORD start = GetTickCount();
    Open(LocationOf(archive));
    ASSERT_TRUE(PumpUntil([] { return adBanner.framesReady; }, kWaitMs))
        << "the archive comes at once, not after the minute";
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(kWaitMs));
    const std::string port = std::to_string(ServerPort());
    const std::string rest =
        " HTTP/1.0\r\nHost: 127.0.0.1:" + port + "\r\nUser-Agent: Kestro\r\n\r\n";
    const std::string locationPath = location_.substr(location_.find("/location"));
    const std::vector<std::string> asked = RequestsHolding(locationPath);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "GET " + locationPath + rest);
    const std::string archivePath = archive.substr(archive.find("/archive"));
    const std::vector<std::string> fetched = RequestsHolding(archivePath);
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0], "GET " + archivePath + rest);
    EXPECT_FALSE(adBanner.fallbackMode);
    EXPECT_EQ(ReadWholeFile(folder_ + "ad.zip").substr(0, 2), "PK");
}

TEST_F(AdBanner, AWindow700PixelsWideDrawsThePictureAt116BetweenTwoLines) {
    OpenWithArchive("frames=ff0000");
    ASSERT_TRUE(adBanner.framesReady);
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
    // The test's own ticks drive the rotation; nothing is pumped, so no timer tick comes between.
    uint32_t shown = Pixel(300);
    for (int i = 0; i < 20 && Pixel(300) == shown; ++i) {
        Tick(kRotationTimerId); // up to the first change of frame
    }
    std::vector<std::pair<uint32_t, int>> stood;
    while (stood.size() < 4) {
        shown = Pixel(300);
        int ticks = 0;
        while (Pixel(300) == shown && ticks < 40) {
            Tick(kRotationTimerId);
            ++ticks;
        }
        stood.push_back({shown, ticks});
    }
    for (const auto& frame : stood) {
        EXPECT_EQ(frame.second, frame.first == kBlue ? 12 : 4) << std::hex << frame.first;
    }
    EXPECT_NE(stood[0].first, stood[1].first);
}

TEST_F(AdBanner, AMalformedArchiveReplyBringsBackTheBuiltInImages) {
    OpenWithArchive("frames=ff0000,00ff00,0000ff");
    ASSERT_FALSE(adBanner.fallbackMode);
    for (const char* query : {"frames=ff0000,00ff00,0000ff&filesize=none",
                              "frames=ff0000,00ff00,0000ff&delays=100,100"}) {
        FetchArchive("frames=ff0000,00ff00,0000ff");
        ASSERT_FALSE(adBanner.fallbackMode);
        FetchArchive(query);
        EXPECT_TRUE(ShowsFallback()) << query;
    }
}

TEST_F(AdBanner, ASizeMismatchShowsTheFramesAlreadyOnDisk) {
    OpenWithArchive("frames=ff0000,00ff00");
    Tick(kRotationTimerId);
    Tick(kRotationTimerId);
    Tick(kRotationTimerId);
    Tick(kRotationTimerId);
    ASSERT_EQ(Pixel(300), kGreen);
    FetchArchive("frames=ffff00,00ffff&filesize=wrong");
    EXPECT_TRUE(adBanner.framesReady);
    EXPECT_FALSE(adBanner.fallbackMode);
    EXPECT_EQ(Pixel(300), kRed) << "the first frame on disk, not the new archive's";
}

TEST_F(AdBanner, AClickOpensTheLinkInTheBrowserAndTurnsTheLogo) {
    OpenWithArchive("frames=ff0000&link=http://127.0.0.1:9/offer%3Fid%3D7");
    StandInBrowser browser(folder_);
    pictureButtonState.logo.running = false;
    SendMessageA(banner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 30));
    EXPECT_TRUE(pictureButtonState.logo.running);
    const std::string log = browser.WaitForLog();
    EXPECT_NE(log.find("http://127.0.0.1:9/offer?id=7"), std::string::npos) << log;
}

TEST_F(AdBanner, TurnedOffItShowsABuiltInImageOpensNoConnectionAndClicksToTheVendor) {
    const std::string location = LocationOf(ArchiveUrl("frames=ff0000"));
    Open(location, 0);
    PumpMessagesFor(500);
    EXPECT_TRUE(RequestsHolding(location.substr(location.find("/location"))).empty());
    EXPECT_TRUE(ShowsFallback());
    Tick(kArchiveTimerId);
    EXPECT_FALSE(adBanner.locationRequestActive || adBanner.archiveRequestActive);

    StandInBrowser browser(folder_);
    SendMessageA(banner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 30));
    const std::string log = browser.WaitForLog();
    EXPECT_NE(log.find("http://www.kestro.example/"), std::string::npos) << log;
}

TEST_F(AdBanner, AFetchThatCannotConnectIsTriedAgainTheNextMinute) {
    const std::string nobody = "http://127.0.0.1:" + std::to_string(ClosedPort());
    Open(nobody + "/location");
    ASSERT_TRUE(PumpUntil([] { return !adBanner.locationRequestActive; }, kWaitMs));
    EXPECT_FALSE(adBanner.locationKnown);

    // The next minute asks again, here where a server answers.
    CopyField(programSettings.adLocation1, LocationOf(ArchiveUrl("frames=ff0000")));
    CopyField(programSettings.adLocation2, programSettings.adLocation1);
    Tick(kArchiveTimerId);
    EXPECT_TRUE(adBanner.locationRequestActive);
    ASSERT_TRUE(PumpUntil([] { return adBanner.framesReady; }, kWaitMs));

    // An archive server that refuses: back to the built-in images, and asked again.
    for (int minute = 0; minute < 2; ++minute) {
        CopyField(adBanner.archiveUrl, sizeof adBanner.archiveUrl, (nobody + "/archive").c_str());
        Tick(kArchiveTimerId);
        EXPECT_TRUE(adBanner.archiveRequestActive) << minute;
        ASSERT_TRUE(PumpUntil([] { return !adBanner.archiveRequestActive; }, kWaitMs));
        EXPECT_TRUE(ShowsFallback()) << minute;
    }
}

TEST_F(AdBanner, HostileArchivesWriteNothingButFrameFiles) {
    struct Case {
        const char* query;
        bool fallback; // else the frame shows
    };
    const Case cases[] = {
        {"num=1&delays=100&extra=..%5Cx.bmp:bmp", true},
        {"num=1&delays=100&extra=../x.bmp:bmp", true},
        {"num=1&delays=100&extra=C:%5Cx.bmp:bmp", true},
        {"num=1&delays=100&extra=%5Cx.bmp:bmp", true},
        {"num=1&delays=100&extra=sub%5C1.bmp:bmp", true},
        {"num=1&delays=100&extra=kto2mp3.exe:bmp", true},
        {"num=1&delays=100&extra=Kestro.ini:text", true},
        {"num=1&delays=100&extra=1.bmp:zeros", true},
        {"frames=ff0000&truncate=60", true},
        {"frames=ff0000&names=1.BMP", false},
    };
    OpenWithArchive(cases[0].query);
    const std::string program = "MZ stand-in program";
    WriteWholeFile(folder_ + "kto2mp3.exe", program);
    const std::string settings = ReadWholeFile(folder_ + "Kestro.ini");
    const std::string parent = folder_.substr(0, folder_.rfind('\\', folder_.size() - 2) + 1);
    for (const Case& c : cases) {
        if (&c != &cases[0]) {
            FetchArchive(c.query);
        }
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder_ + "*").c_str(), &entry);
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != ".." && name != "Kestro.ini" && name != "kto2mp3.exe" &&
                name != "ad.zip" && name != "1.bmp") {
                names.push_back(name);
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        EXPECT_TRUE(names.empty()) << c.query << ": " << names[0];
        EXPECT_EQ(ReadWholeFile(folder_ + "kto2mp3.exe"), program) << c.query;
        EXPECT_EQ(ReadWholeFile(folder_ + "Kestro.ini"), settings) << c.query;
        for (const std::string& outside :
             {parent + "x.bmp", std::string("C:\\x.bmp"), std::string("\\x.bmp")}) {
            EXPECT_FALSE(FileExists(outside)) << c.query << ": " << outside;
        }
        EXPECT_EQ(adBanner.fallbackMode != 0, c.fallback) << c.query;
    }
    EXPECT_EQ(Pixel(300), kRed);
}

} // namespace
