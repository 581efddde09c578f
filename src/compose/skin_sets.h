// The skin image table's sets: which resources each set holds, whether they are icons turned
// into bitmaps or plain bitmaps, and the size the icons are loaded at.
#pragma once

#include <cstddef>

constexpr int kSkinSetCount = 28;
constexpr int kSkinSetMaxImages = 32;

enum class SkinImageKind { Bitmap, Icon };

struct SkinSetSpec {
    int firstId; // set k starts at 100 * (k + 1)
    int count;
    SkinImageKind kind;
    int width; // icons are loaded at this size; bitmaps come at the size they were drawn
    int height;
};

extern const SkinSetSpec kSkinSets[kSkinSetCount];

// Resource id of image `index` of `set`, or -1 when there is no such image.
int SkinResourceId(int set, int index);

// Writes the resource name "#<id>" the image is loaded by. Returns false when it does not fit.
bool FormatSkinResourceName(int resourceId, char* name, size_t size);
