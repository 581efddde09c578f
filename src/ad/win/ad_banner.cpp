#include "ad/win/ad_banner.h"

LRESULT CALLBACK AdBannerProc(HWND banner, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(banner, message, wParam, lParam);
}
