// Where the banner picture stands in its window, and the rotation of the downloaded frames.
#pragma once

constexpr int kBannerImageWidth = 468;
constexpr int kBannerImageHeight = 60;
constexpr int kRotationTickMs = 50;
constexpr int kFallbackImageCount = 8;

// Left edge of the picture: centred in the main window's client width (integer division toward
// zero, so a window narrower than the picture puts it at a negative x).
int BannerImageLeft(int mainClientWidth);

// Whether a point of the banner window lies on the picture: a window wider than the picture
// counts only the centred picture's columns, a narrower one all of its columns.
bool PointIsOnBannerImage(int x, int y, int windowWidth, int windowHeight, int mainClientWidth);

// One of the eight built-in images, from a random number.
int FallbackIndexFromRandom(int randomNumber);

struct BannerRotation {
    int frameCount; // loaded frames
    int currentFrame;
    int elapsedMs; // since the current frame was put up
};

// Puts up frame 0 of `frameCount` frames.
void StartRotation(BannerRotation& rotation, int frameCount);

// One 50 ms tick: once the current frame has stood longer than its delay the next frame (after
// the last, the first) is put up and the count starts again. True when the frame changed.
bool StepRotation(BannerRotation& rotation, const int* delays);
