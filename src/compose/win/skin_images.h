// The skin image table: the faces of the picture buttons and the frames of the animations,
// loaded once from the program's resources when the main window is built.
#pragma once

#include <windows.h>

#include "base/win/scoped_handles.h"
#include "compose/skin_sets.h"

struct SkinImageTable {
    ScopedGdiObject<HBITMAP> images[kSkinSetCount][kSkinSetMaxImages];
};

extern SkinImageTable skinImages;

// Loads every set; icons are turned into bitmaps on the button-face colour, using bitmaps
// compatible with `mainWindow`'s device context. Images loaded before are deleted first.
void LoadSkinImages(HWND mainWindow);

// Deletes every image of the table.
void DeleteSkinImages();

// Image `index` of `set`, or null when there is none.
HBITMAP SkinImage(int set, int index);

// Copies the top left width x height pixels of an image to (x, y) of `dc`. Does nothing when the
// image is missing.
void CopySkinImage(HDC dc, int set, int index, int x, int y, int width, int height);
