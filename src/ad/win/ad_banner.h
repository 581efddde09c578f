// The ad banner above the status bar: it asks an ad server where the current ad archive is,
// downloads and unpacks it, and rotates its frames; when anything goes wrong it shows one of the
// eight built-in banner images. A click opens the ad's link, or the vendor's web site.
#pragma once

#include <windows.h>

#include "ad/win/ad_fetch.h"

#include "ad/ad_replies.h"
#include "ad/banner_rotation.h"
#include "base/win/scoped_handles.h"

constexpr const char* kAdBannerClass = "AD_CLASS";
constexpr int kFetchLocationCommand = 2501;
constexpr UINT_PTR kArchiveTimerId = 2600;  // every minute: fetch the archive again
constexpr UINT_PTR kCursorTimerId = 2601;   // hand cursor over the picture
constexpr UINT_PTR kRotationTimerId = 2602; // the next frame
constexpr UINT_PTR kFallbackTimerId = 2603; // another built-in image

// Opens `target` in the user's web browser; once the browser is found and before it starts,
// `logoButton` is sent WM_COMMAND 2001 (its animation) when it is not null.
using OpenInBrowserFunction = void (*)(HWND owner, const char* target, HWND logoButton);

// What the program hands the banner through CreateWindowEx's creation parameter.
struct AdBannerSetup {
    const char* programDirectory; // with its trailing backslash
    const char* locations[2];     // the two ad-location URLs, read at each fetch
    int enabled;                  // 0: built-in images only, no connection is opened
    const char* vendorSite;       // what a click on a built-in image opens
    HWND logoButton;
    OpenInBrowserFunction openInBrowser;
};

// Process-wide state of the single banner window.
struct AdBannerState {
    AdBannerSetup setup;
    int locationRequestActive; // phase 1 running
    int locationKnown;         // phase 1 succeeded
    int archiveRequestActive;  // phase 2 running
    int framesReady;           // a good archive's frames are loaded
    int fallbackMode;          // a built-in image is shown
    char locationReply[kLocationReplySize];
    size_t locationReplyLength;
    char archiveUrl[kAdTextSize];
    char archiveBuffer[kArchiveBufferSize];
    size_t receivedCount;
    ArchiveDescription archive; // link, frame count and delays of the frames shown
    BannerRotation rotation;
    ScopedGdiObject<HBITMAP> frames[kMaxAdFrames];
    int fallbackIndex;
    HCURSOR arrowCursor;
    HCURSOR handCursor;
};

extern AdBannerState adBanner;

LRESULT CALLBACK AdBannerProc(HWND banner, UINT message, WPARAM wParam, LPARAM lParam);
