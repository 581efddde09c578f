// Pictures for the video tests: smooth gradients with a disc whose place depends on a phase (a
// frame number), as RGB rows top to bottom, and the same as stored 24-bit DIB rows.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

inline std::vector<unsigned char> TestPicture(int width, int height, int phase) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const int cx = (width / 4 + phase * 7) % width;
    const int cy = height / 2;
    const int r = height / 5 + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            // The disc's edge fades over 4 pixels, as in a camera picture.
            const double distance = std::sqrt(double((x - cx) * (x - cx) + (y - cy) * (y - cy)));
            const double disc = std::min(1.0, std::max(0.0, (r - distance) / 4));
            auto mix = [disc](int inside, int outside) {
                return static_cast<unsigned char>(inside * disc + outside * (1 - disc));
            };
            p[0] = mix(230, 40 + 180 * x / width);
            p[1] = mix(200, 30 + 160 * y / height);
            p[2] = mix(40, 120 + 60 * (x + y) / (width + height));
        }
    }
    return rgb;
}

// Bottom-up rows of blue, green, red, each padded to 4 bytes.
inline std::string StoredRows24(const std::vector<unsigned char>& rgb, int width, int height) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::string rows(stride * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = &rows[stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            row[3 * x] = static_cast<char>(p[2]);
            row[3 * x + 1] = static_cast<char>(p[1]);
            row[3 * x + 2] = static_cast<char>(p[0]);
        }
    }
    return rows;
}
