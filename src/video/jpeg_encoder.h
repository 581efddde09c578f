// Baseline JPEG compression through libjpeg (its 6b interface) with the library's defaults as a
// plain command-line conversion applies them: RGB input, quality 75, chroma sampled 2 x 2, the
// integer slow DCT, standard Huffman tables, a JFIF header. Library errors end the compression,
// never the program.
#pragma once

#include <cstdio>
#include <vector>

constexpr int kJpegQuality = 75;

// Fills row y (0 is the top) with width x 3 bytes of red, green, blue; false stops the
// compression as failed.
using JpegRowSource = bool (*)(void* context, int y, unsigned char* rgb);

struct JpegInput {
    int width;
    int height;
    JpegRowSource row;
    void* context;
};

// Where the compressed bytes go: a file opened for binary writing, or else a byte buffer.
struct JpegOutput {
    std::FILE* file;
    std::vector<unsigned char>* bytes; // replaced by the compressed image
};

// Compresses the image. Messages of the library go to the standard error stream as
// "<messagePrefix>: <text>" when a prefix is given, and nowhere otherwise. False on any error.
bool CompressJpeg(const JpegInput& input, const JpegOutput& output,
                  const char* messagePrefix = nullptr);
