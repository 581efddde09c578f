// A 32-bit memory device context whose pixels a test can read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/win/scoped_handles.h"

class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)),
          bitmap_(TopDownBitmap(dc_.get(), width, height, &bits_)),
          selection_(dc_.get(), bitmap_.get()) {}

    HDC dc() const { return dc_.get(); }

    void Fill(COLORREF colour) {
        const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        RECT all = {0, 0, width_, height_};
        FillRect(dc_.get(), &all, brush.get());
    }

    // Every pixel as 0xRRGGBB, row by row.
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        const auto* bgra = static_cast<const uint32_t*>(bits_);
        std::vector<uint32_t> pixels(bgra, bgra + width_ * height_);
        for (uint32_t& pixel : pixels) {
            pixel &= 0xFFFFFF;
        }
        return pixels;
    }

  private:
    static HBITMAP TopDownBitmap(HDC dc, int width, int height, void** bits) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    }

    int width_;
    int height_;
    void* bits_ = nullptr;
    ScopedMemoryDc dc_;
    ScopedGdiObject<HBITMAP> bitmap_;
    SelectedObject selection_; // last member: undone first
};
