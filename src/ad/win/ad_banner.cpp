#include "ad/win/ad_banner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "ad/ad_archive.h"
#include "ad/frame_files.h"
#include "compose/win/skin_images.h"
#include "resources/skin_ids.h"

AdBannerState adBanner;

namespace {

constexpr UINT kCursorPeriodMs = 100;
constexpr UINT kArchivePeriodMs = 60000;
constexpr UINT kFallbackPeriodMs = 180000;

std::string ProgramFile(const char* name) {
    return std::string(adBanner.setup.programDirectory ? adBanner.setup.programDirectory : "") +
           name;
}

void DeleteFrames() {
    for (ScopedGdiObject<HBITMAP>& frame : adBanner.frames) {
        frame.reset();
    }
}

void ShowFallback(HWND banner) {
    if (!adBanner.fallbackMode) {
        DeleteFrames();
    }
    adBanner.fallbackMode = 1;
    StartRotation(adBanner.rotation, 1);
    adBanner.framesReady = 0;
    InvalidateRect(banner, nullptr, TRUE);
}

// Loads 1.bmp .. N.bmp and puts up the first. A frame that does not load leaves the frames
// shown before as they were and returns false.
bool LoadFrames(HWND banner, const ArchiveDescription& description) {
    ScopedGdiObject<HBITMAP> loaded[kMaxAdFrames];
    for (int k = 0; k < description.frameCount; ++k) {
        char name[16];
        FormatFrameFileName(k + 1, name, sizeof name);
        loaded[k].reset(static_cast<HBITMAP>(LoadImageA(nullptr, ProgramFile(name).c_str(),
                                                        IMAGE_BITMAP, kBannerImageWidth,
                                                        kBannerImageHeight, LR_LOADFROMFILE)));
        if (!loaded[k]) {
            return false;
        }
    }
    for (int k = 0; k < kMaxAdFrames; ++k) {
        adBanner.frames[k] = std::move(loaded[k]);
    }
    adBanner.fallbackMode = 0;
    adBanner.archive = description;
    StartRotation(adBanner.rotation, description.frameCount);
    InvalidateRect(banner, nullptr, TRUE);
    adBanner.framesReady = 1;
    return true;
}

void FinishLocationFetch(HWND banner) {
    adBanner.locationRequestActive = 0;
    if (FindAdLocation(adBanner.locationReply, adBanner.locationReplyLength, adBanner.archiveUrl,
                       sizeof adBanner.archiveUrl)) {
        adBanner.locationKnown = 1;
        PostMessageA(banner, WM_TIMER, kArchiveTimerId, 0);
    }
}

void FinishArchiveFetch(HWND banner) {
    adBanner.archiveRequestActive = 0;
    ArchiveDescription description;
    if (!ParseArchiveReply(adBanner.archiveBuffer, adBanner.receivedCount, description)) {
        ShowFallback(banner);
        return;
    }
    const std::string zipPath = ProgramFile("ad.zip");
    if (!SaveAdArchive(zipPath.c_str(), adBanner.archiveBuffer + description.zipStart,
                       description.zipSize)) {
        ShowFallback(banner);
        return;
    }
    const bool complete = description.declaredZipSize >= 0 &&
                          description.zipSize == static_cast<size_t>(description.declaredZipSize);
    // A short download is not unpacked: the frames already on disk are shown again.
    if (complete && !UnpackAdArchive(zipPath.c_str(), adBanner.setup.programDirectory,
                                     description.frameCount)) {
        adBanner.framesReady = 0;
        return;
    }
    if (!LoadFrames(banner, description)) {
        ShowFallback(banner);
    }
}

// The fetch of the running phase has ended, by the server's close or earlier by a failure;
// the phase is judged on what was received.
void FinishPhase(HWND banner) {
    CloseAdFetch();
    if (adBanner.locationRequestActive) {
        FinishLocationFetch(banner);
    } else if (adBanner.archiveRequestActive) {
        FinishArchiveFetch(banner);
    }
}

void ReceiveReply(const char* data, size_t count) {
    if (adBanner.locationRequestActive) {
        adBanner.locationReplyLength =
            AppendReplyBytes(adBanner.locationReply, kLocationReplySize - 1,
                             adBanner.locationReplyLength, data, count);
        adBanner.locationReply[adBanner.locationReplyLength] = '\0';
    } else if (adBanner.archiveRequestActive) {
        adBanner.receivedCount = AppendReplyBytes(adBanner.archiveBuffer, kArchiveBufferSize,
                                                  adBanner.receivedCount, data, count);
    }
}

bool FetchRunning() {
    return adBanner.locationRequestActive || adBanner.archiveRequestActive;
}

// Phase 1: ask one of the two ad-location servers, chosen at random, where the archive is.
void StartLocationFetch(HWND banner) {
    if (!adBanner.setup.enabled || FetchRunning()) {
        return;
    }
    const char* url = adBanner.setup.locations[std::rand() & 1];
    adBanner.locationReply[0] = '\0';
    adBanner.locationReplyLength = 0;
    adBanner.locationRequestActive = 1;
    adBanner.locationKnown = 0;
    if (!url || !StartAdFetch(banner, url)) {
        FinishPhase(banner);
    }
}

// Phase 2, every minute and at once after phase 1: download the archive. While no location is
// known (phase 1 failed), phase 1 is tried again instead.
void OnArchiveTimer(HWND banner) {
    if (!adBanner.setup.enabled || FetchRunning()) {
        return;
    }
    if (!adBanner.locationKnown) {
        StartLocationFetch(banner);
        return;
    }
    if (adBanner.archiveUrl[0] == '\0') {
        return;
    }
    std::memset(adBanner.archiveBuffer, 0, sizeof adBanner.archiveBuffer);
    adBanner.receivedCount = 0;
    adBanner.archiveRequestActive = 1;
    if (!StartAdFetch(banner, adBanner.archiveUrl)) {
        FinishPhase(banner);
    }
}

void OnRotationTimer(HWND banner) {
    if (adBanner.locationKnown && adBanner.framesReady && !adBanner.fallbackMode &&
        StepRotation(adBanner.rotation, adBanner.archive.delays)) {
        InvalidateRect(banner, nullptr, FALSE);
    }
}

int MainClientWidth(HWND banner) {
    RECT client = {};
    GetClientRect(GetParent(banner) ? GetParent(banner) : banner, &client);
    return client.right;
}

// The hand over the picture, the arrow elsewhere in the banner.
void OnCursorTimer(HWND banner) {
    POINT at;
    if (!GetCursorPos(&at) || WindowFromPoint(at) != banner) {
        return;
    }
    ScreenToClient(banner, &at);
    RECT client;
    GetClientRect(banner, &client);
    const bool onPicture =
        PointIsOnBannerImage(at.x, at.y, client.right, client.bottom, MainClientWidth(banner));
    SetCursor(onPicture ? adBanner.handCursor : adBanner.arrowCursor);
}

void PaintBanner(HWND banner, HDC dc) {
    const int x = BannerImageLeft(MainClientWidth(banner));
    MoveToEx(dc, x - 1, 0, nullptr);
    LineTo(dc, x - 1, kBannerImageHeight);
    MoveToEx(dc, x + kBannerImageWidth, 0, nullptr);
    LineTo(dc, x + kBannerImageWidth, kBannerImageHeight);
    HBITMAP image = adBanner.fallbackMode ? SkinImage(SKIN_SET_BANNER, adBanner.fallbackIndex)
                                          : adBanner.frames[adBanner.rotation.currentFrame].get();
    if (!image) {
        return;
    }
    const ScopedMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selection(source.get(), image);
    BitBlt(dc, x, 0, kBannerImageWidth, kBannerImageHeight, source.get(), 0, 0, SRCCOPY);
}

void OpenLink(HWND banner) {
    const AdBannerSetup& setup = adBanner.setup;
    const char* target = adBanner.fallbackMode ? setup.vendorSite : adBanner.archive.link;
    if (setup.openInBrowser && target) {
        setup.openInBrowser(GetParent(banner), target, setup.logoButton);
    }
}

LRESULT OnCreate(HWND banner, const CREATESTRUCTA* create) {
    DeleteFrames();
    CloseAdFetch();
    const auto* setup = static_cast<const AdBannerSetup*>(create->lpCreateParams);
    adBanner.setup = setup ? *setup : AdBannerSetup{};
    adBanner.locationRequestActive = 0;
    adBanner.locationKnown = 0;
    adBanner.archiveRequestActive = 0;
    adBanner.framesReady = 0;
    adBanner.fallbackMode = 1;
    adBanner.archiveUrl[0] = '\0';
    StartRotation(adBanner.rotation, 1);

    std::srand(static_cast<unsigned>(std::time(nullptr)));
    adBanner.arrowCursor = LoadCursor(nullptr, IDC_ARROW);
    adBanner.handCursor = LoadCursorA(create->hInstance, MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    if (adBanner.setup.enabled) {
        PostMessageA(banner, WM_COMMAND, kFetchLocationCommand, 0);
    }
    SetTimer(banner, kCursorTimerId, kCursorPeriodMs, nullptr);
    SetTimer(banner, kArchiveTimerId, kArchivePeriodMs, nullptr);
    SetTimer(banner, kRotationTimerId, kRotationTickMs, nullptr);
    SetTimer(banner, kFallbackTimerId, kFallbackPeriodMs, nullptr);
    adBanner.fallbackIndex = FallbackIndexFromRandom(std::rand());
    return 0;
}

void OnDestroy(HWND banner) {
    for (UINT_PTR id : {kArchiveTimerId, kCursorTimerId, kRotationTimerId, kFallbackTimerId}) {
        KillTimer(banner, id);
    }
    if (!adBanner.fallbackMode) {
        DeleteFrames();
    }
    CloseAdFetch();
    adBanner.locationRequestActive = 0;
    adBanner.archiveRequestActive = 0;
    PostQuitMessage(0);
}

LRESULT OnTimer(HWND banner, UINT_PTR id) {
    switch (id) {
    case kArchiveTimerId:
        OnArchiveTimer(banner);
        break;
    case kCursorTimerId:
        OnCursorTimer(banner);
        break;
    case kRotationTimerId:
        OnRotationTimer(banner);
        break;
    case kFallbackTimerId:
        if (adBanner.fallbackMode) {
            adBanner.fallbackIndex = FallbackIndexFromRandom(std::rand());
            InvalidateRect(banner, nullptr, TRUE);
        }
        break;
    }
    return 0;
}

} // namespace

LRESULT CALLBACK AdBannerProc(HWND banner, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(banner, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy(banner);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        return 0;
    case WM_PAINT: {
        const PaintDc dc(banner);
        PaintBanner(banner, dc.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintBanner(banner, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_TIMER:
        return OnTimer(banner, wParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == kFetchLocationCommand) {
            StartLocationFetch(banner);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OpenLink(banner);
        return 0;
    case WM_RBUTTONDOWN:
        return 0;
    case WM_AD_HOST_RESOLVED:
        if (!ContinueAdFetch(banner, wParam, lParam)) {
            FinishPhase(banner);
        }
        return 0;
    case WM_AD_CONNECT_FAILED:
        if (AdConnectFailed()) {
            FinishPhase(banner);
        }
        return 0;
    case WM_AD_SOCKET_EVENT:
        if (HandleAdSocketEvent(banner, wParam, lParam, ReceiveReply)) {
            FinishPhase(banner);
        }
        return 0;
    default:
        return DefWindowProcA(banner, message, wParam, lParam);
    }
}
