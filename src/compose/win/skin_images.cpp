#include "compose/win/skin_images.h"

#include <initializer_list>

#include "compose/win/compose_windows.h"

SkinImageTable skinImages = {};

namespace {

// The icon's opaque pixels on the button-face colour, as a bitmap compatible with `screen`.
HBITMAP IconToButtonBitmap(HDC screen, HICON icon, int width, int height) {
    HDC dcA = CreateCompatibleDC(screen);
    HDC dcB = CreateCompatibleDC(screen);
    HDC dcR = CreateCompatibleDC(screen);
    HBITMAP a = CreateCompatibleBitmap(screen, width, height);
    HBITMAP b = CreateCompatibleBitmap(screen, width, height);
    HBITMAP r = CreateCompatibleBitmap(screen, width, height);
    if (!dcA || !dcB || !dcR || !a || !b || !r) {
        for (HBITMAP bitmap : {a, b, r}) {
            if (bitmap) {
                DeleteObject(bitmap);
            }
        }
        for (HDC dc : {dcA, dcB, dcR}) {
            if (dc) {
                DeleteDC(dc);
            }
        }
        return nullptr;
    }
    HGDIOBJ oldA = SelectObject(dcA, a);
    HGDIOBJ oldB = SelectObject(dcB, b);
    HGDIOBJ oldR = SelectObject(dcR, r);

    DrawIconEx(dcA, 0, 0, icon, width, height, 0, nullptr, DI_MASK);
    DrawIconEx(dcB, 0, 0, icon, width, height, 0, nullptr, DI_IMAGE);
    // A becomes the opaque pixels on black.
    BitBlt(dcA, 0, 0, width, height, dcB, 0, 0, SRCAND);
    BitBlt(dcA, 0, 0, width, height, dcB, 0, 0, SRCINVERT);

    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    RECT all = {0, 0, width, height};
    FillRect(dcR, &all, face);
    DeleteObject(face);

    // Black out the opaque pixels of R, then lay the picture into them.
    DrawIconEx(dcB, 0, 0, icon, width, height, 0, nullptr, DI_MASK);
    BitBlt(dcR, 0, 0, width, height, dcB, 0, 0, SRCAND);
    BitBlt(dcR, 0, 0, width, height, dcA, 0, 0, SRCPAINT);

    SelectObject(dcA, oldA);
    SelectObject(dcB, oldB);
    SelectObject(dcR, oldR);
    DeleteObject(a);
    DeleteObject(b);
    DeleteDC(dcA);
    DeleteDC(dcB);
    DeleteDC(dcR);
    return r;
}

HBITMAP LoadSkinImage(HDC screen, const SkinSetSpec& spec, int resourceId) {
    char name[16];
    if (!FormatSkinResourceName(resourceId, name, sizeof name)) {
        return nullptr;
    }
    if (spec.kind == SkinImageKind::Bitmap) {
        return static_cast<HBITMAP>(
            LoadImageA(composeWindows.instance, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    }
    HICON icon = static_cast<HICON>(LoadImageA(composeWindows.instance, name, IMAGE_ICON,
                                               spec.width, spec.height, LR_DEFAULTCOLOR));
    if (!icon) {
        return nullptr;
    }
    HBITMAP bitmap = IconToButtonBitmap(screen, icon, spec.width, spec.height);
    DestroyIcon(icon);
    return bitmap;
}

} // namespace

void LoadSkinImages(HWND mainWindow) {
    DeleteSkinImages();
    HDC screen = GetDC(mainWindow);
    for (int set = 0; set < kSkinSetCount; ++set) {
        const SkinSetSpec& spec = kSkinSets[set];
        for (int index = 0; index < spec.count; ++index) {
            skinImages.images[set][index] = LoadSkinImage(screen, spec, SkinResourceId(set, index));
        }
    }
    ReleaseDC(mainWindow, screen);
}

void DeleteSkinImages() {
    for (auto& set : skinImages.images) {
        for (HBITMAP& image : set) {
            if (image) {
                DeleteObject(image);
                image = nullptr;
            }
        }
    }
}

HBITMAP SkinImage(int set, int index) {
    if (set < 0 || set >= kSkinSetCount || index < 0 || index >= kSkinSetMaxImages) {
        return nullptr;
    }
    return skinImages.images[set][index];
}

void CopySkinImage(HDC dc, int set, int index, int x, int y, int width, int height) {
    HBITMAP image = SkinImage(set, index);
    if (!image || !dc) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, image);
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}
