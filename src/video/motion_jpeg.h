// Compression of a raw AVI clip into a Motion-JPEG AVI: every frame of each video stream of
// uncompressed rows becomes a baseline JPEG key frame (quality 75, chroma 2 x 2), every other
// chunk (the sound) is copied as it is, in the order the clip interleaves them, and the new file
// gets a complete idx1 index.
#pragma once

#include <cstddef>
#include <vector>

#include "video/avi_reader.h"
#include "video/dib_pixels.h"

enum class MotionJpegResult {
    Written,
    Unreadable,  // not an AVI file, or a damaged one
    Unsupported, // a video stream this compressor cannot read (already compressed, odd depth)
    WriteFailed, // the new file could not be written completely; it is removed
};

// Called with the share of the chunks done, 0 to 100, whenever it grows.
using CompressProgress = void (*)(void* context, int percent);

MotionJpegResult CompressToMotionJpeg(const char* sourcePath, const char* targetPath,
                                      CompressProgress progress, void* context);

// How the frames of a raw video stream are stored, from its 'strf' bitmap format. False when
// they are not uncompressed rows of a depth DibRowToRgb reads, or the colour map is missing.
struct RawFrameLayout {
    DibLayout dib;
    bool bottomUp;
    uint64_t stride;
};
bool RawFrameLayoutOf(const std::vector<unsigned char>& format, RawFrameLayout& layout);

// One JPEG image of a stored raw frame; false when the frame is too short or a colour index
// lies outside the colour map.
bool CompressRawFrame(const RawFrameLayout& layout, const unsigned char* frame, size_t size,
                      std::vector<unsigned char>& jpeg);
