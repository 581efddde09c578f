#include "compose/win/skin_images.h"

#include "compose/win/compose_windows.h"

SkinImageTable skinImages = {};

namespace {

// The icon's opaque pixels on the button-face colour, as a bitmap compatible with `screen`.
HBITMAP IconToButtonBitmap(HDC screen, HICON icon, int width, int height) {
    const ScopedMemoryDc dcA(CreateCompatibleDC(screen));
    const ScopedMemoryDc dcB(CreateCompatibleDC(screen));
    const ScopedMemoryDc dcR(CreateCompatibleDC(screen));
    const ScopedGdiObject<HBITMAP> a(CreateCompatibleBitmap(screen, width, height));
    const ScopedGdiObject<HBITMAP> b(CreateCompatibleBitmap(screen, width, height));
    ScopedGdiObject<HBITMAP> r(CreateCompatibleBitmap(screen, width, height));
    if (!dcA || !dcB || !dcR || !a || !b || !r) {
        return nullptr;
    }
    {
        const SelectedObject onA(dcA.get(), a.get());
        const SelectedObject onB(dcB.get(), b.get());
        const SelectedObject onR(dcR.get(), r.get());

        DrawIconEx(dcA.get(), 0, 0, icon, width, height, 0, nullptr, DI_MASK);
        DrawIconEx(dcB.get(), 0, 0, icon, width, height, 0, nullptr, DI_IMAGE);
        // A becomes the opaque pixels on black.
        BitBlt(dcA.get(), 0, 0, width, height, dcB.get(), 0, 0, SRCAND);
        BitBlt(dcA.get(), 0, 0, width, height, dcB.get(), 0, 0, SRCINVERT);

        const ScopedGdiObject<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        RECT all = {0, 0, width, height};
        FillRect(dcR.get(), &all, face.get());

        // Black out the opaque pixels of R, then lay the picture into them.
        DrawIconEx(dcB.get(), 0, 0, icon, width, height, 0, nullptr, DI_MASK);
        BitBlt(dcR.get(), 0, 0, width, height, dcB.get(), 0, 0, SRCAND);
        BitBlt(dcR.get(), 0, 0, width, height, dcA.get(), 0, 0, SRCPAINT);
    } // R is selected out of its context before it is handed over
    return r.release();
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
    const ScopedIcon icon(static_cast<HICON>(LoadImageA(composeWindows.instance, name, IMAGE_ICON,
                                                        spec.width, spec.height, LR_DEFAULTCOLOR)));
    if (!icon) {
        return nullptr;
    }
    return IconToButtonBitmap(screen, icon.get(), spec.width, spec.height);
}

} // namespace

void LoadSkinImages(HWND mainWindow) {
    DeleteSkinImages();
    const WindowDc screen(mainWindow);
    for (int set = 0; set < kSkinSetCount; ++set) {
        const SkinSetSpec& spec = kSkinSets[set];
        for (int index = 0; index < spec.count; ++index) {
            skinImages.images[set][index].reset(
                LoadSkinImage(screen.get(), spec, SkinResourceId(set, index)));
        }
    }
}

void DeleteSkinImages() {
    for (auto& set : skinImages.images) {
        for (ScopedGdiObject<HBITMAP>& image : set) {
            image.reset();
        }
    }
}

HBITMAP SkinImage(int set, int index) {
    if (set < 0 || set >= kSkinSetCount || index < 0 || index >= kSkinSetMaxImages) {
        return nullptr;
    }
    return skinImages.images[set][index].get();
}

void CopySkinImage(HDC dc, int set, int index, int x, int y, int width, int height) {
    HBITMAP image = SkinImage(set, index);
    if (!image || !dc) {
        return;
    }
    const ScopedMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selected(source.get(), image);
    BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
}
