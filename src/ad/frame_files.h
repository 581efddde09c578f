// The banner's frame files "1.bmp" .. "N.bmp" in the program folder, and which archive entries
// may become one. The archive arrives over plain HTTP, so its stored names decide nothing: an
// entry is written only under a frame name of our own, and only when it looks like a frame.
#pragma once

#include <cstddef>
#include <cstdint>

// A 468 x 60 bitmap at 32 bits is about 110 KB; nothing larger is a frame.
constexpr uint64_t kMaxFrameFileBytes = 256 * 1024;
// Bytes of an entry's beginning that LooksLikeBitmapFile needs to decide.
constexpr size_t kBitmapHeadBytes = 30;

// The frame number 1 .. frameCount whose file an entry with this stored name becomes, or 0 when
// the name is anything but exactly "<k>.bmp" (compared case-insensitively): no folders, drive,
// separators or "..", no leading zeros, nothing before or after.
int FrameNumberOfEntry(const char* storedName, int frameCount);

// "<k>.bmp": the file name of frame k (1-based).
void FormatFrameFileName(int frame, char* name, size_t size);

// True when the bytes begin like a Windows bitmap file: "BM", a known info header size, a
// width and height of 1 to 4096 pixels, one plane and a usual bit depth.
bool LooksLikeBitmapFile(const unsigned char* head, size_t length);
