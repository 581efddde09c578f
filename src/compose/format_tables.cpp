#include "compose/format_tables.h"

const int kFormatSizes[kFormatSizeCount] = {8, 10, 12, 14, 18, 24, 36};

uint32_t PackColour(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}

// Black, blue, green, red, cyan, magenta, yellow, navy, dark green, maroon, purple, teal, olive,
// grey, silver.
const uint32_t kFormatColours[kFormatColourCount] = {
    0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000,
    0x008000, 0x000080, 0x800080, 0x808000, 0x008080, 0x808080, 0xC0C0C0};

int32_t TwipsFromPoints(int points) {
    return static_cast<int32_t>(points) * kTwipsPerPoint;
}

int PointsFromTwips(int32_t twips) {
    return static_cast<int>(twips / kTwipsPerPoint);
}

int FindSizeEntry(int points) {
    for (int i = 0; i < kFormatSizeCount; ++i) {
        if (kFormatSizes[i] == points) {
            return i;
        }
    }
    return -1;
}

int FindColourEntry(uint32_t colour) {
    for (int i = 0; i < kFormatColourCount; ++i) {
        if (kFormatColours[i] == colour) {
            return i;
        }
    }
    return -1;
}
