// The format bar's fixed entries: the seven sizes of the size box and the fifteen colours of the
// colour box, and the twips in which the body editor counts character heights.
#pragma once

#include <cstdint>

constexpr int kFormatSizeCount = 7;
constexpr int kFormatColourCount = 15;
constexpr int kTwipsPerPoint = 20;

// Sizes in points, in entry order.
extern const int kFormatSizes[kFormatSizeCount];

// Colours packed as the system packs them: red in the low byte, then green, then blue.
extern const uint32_t kFormatColours[kFormatColourCount];

// The body's default format: "Arial", entry 1 (10 points), entry 0 (black), on white.
constexpr const char* kDefaultFontFace = "Arial";
constexpr int kDefaultSizeEntry = 1;
constexpr int kDefaultColourEntry = 0;
constexpr uint32_t kBodyBackgroundColour = 0x00FFFFFF;

uint32_t PackColour(int red, int green, int blue);

int32_t TwipsFromPoints(int points);

// Whole points, rounded down: 239 twips are 11 points.
int PointsFromTwips(int32_t twips);

// The first entry with this size or colour, or -1 when the box has none.
int FindSizeEntry(int points);
int FindColourEntry(uint32_t colour);
