#include "video/snapshot_jpeg.h"

#include <cstdio>
#include <vector>

#include "base/scoped_file.h"
#include "video/bmp_file.h"
#include "video/jpeg_encoder.h"

namespace {

struct BmpRows {
    const BmpLayout* layout;
    const unsigned char* data;
};

bool NextRow(void* context, int y, unsigned char* rgb) {
    const BmpRows* rows = static_cast<const BmpRows*>(context);
    if (BmpRowToRgb(*rows->layout, rows->data, y, rgb)) {
        return true;
    }
    std::fprintf(stderr, "%s: Invalid BMP colormap index\n", kSnapshotProgramName);
    return false;
}

// The rest of the open input file, at most kBmpLargestFile bytes.
bool ReadRest(std::FILE* file, std::vector<unsigned char>& bytes) {
    unsigned char block[8192];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        if (bytes.size() + got > kBmpLargestFile) {
            return false;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    return !std::ferror(file);
}

int Convert(std::FILE* input, std::FILE* output) {
    const int first = std::fgetc(input);
    if (first != 'B') {
        std::fprintf(stderr, "%s: Unrecognized input file format\n", kSnapshotProgramName);
        return -1;
    }
    std::vector<unsigned char> bytes(1, 'B');
    if (!ReadRest(input, bytes)) {
        std::fprintf(stderr, "%s: Read error on input file\n", kSnapshotProgramName);
        return -1;
    }
    BmpLayout layout;
    const char* problem = "";
    if (ParseBmp(bytes.data(), bytes.size(), layout, &problem) != 0) {
        std::fprintf(stderr, "%s: %s\n", kSnapshotProgramName, problem);
        return -1;
    }
    BmpRows rows = {&layout, bytes.data()};
    const JpegInput image = {layout.dib.width, layout.dib.height, NextRow, &rows};
    const JpegOutput target = {output, nullptr};
    return CompressJpeg(image, target, kSnapshotProgramName) ? 0 : -1;
}

} // namespace

int SnapshotToJpeg(const char* programDirectory, const char* name) {
    char inputPath[kSnapshotPathSize];
    char outputPath[kSnapshotPathSize];
    const int inputLength =
        std::snprintf(inputPath, sizeof inputPath, "%s%s", programDirectory, kSnapshotBmpName);
    const int outputLength =
        std::snprintf(outputPath, sizeof outputPath, "%s%s", programDirectory, name);
    ScopedFile input;
    if (inputLength > 0 && inputLength < kSnapshotPathSize) {
        input.reset(std::fopen(inputPath, "rb"));
    }
    if (!input) {
        std::fprintf(stderr, "%s: can't open %s\n", kSnapshotProgramName, inputPath);
        return -1;
    }
    ScopedFile output;
    if (outputLength > 0 && outputLength < kSnapshotPathSize) {
        output.reset(std::fopen(outputPath, "wb"));
    }
    if (!output) {
        std::fprintf(stderr, "%s: can't open %s\n", kSnapshotProgramName, outputPath);
        return -1;
    }
    int status = Convert(input.get(), output.get());
    if (!output.close()) {
        status = -1;
    }
    if (status != 0) {
        std::remove(outputPath);
    }
    return status;
}
