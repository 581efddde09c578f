#include "ad/banner_rotation.h"

int BannerImageLeft(int mainClientWidth) {
    return (mainClientWidth - kBannerImageWidth) / 2;
}

bool PointIsOnBannerImage(int x, int y, int windowWidth, int windowHeight, int mainClientWidth) {
    int left = 0;
    int right = windowWidth;
    if (windowWidth > kBannerImageWidth) {
        left = BannerImageLeft(mainClientWidth);
        right = left + kBannerImageWidth;
    }
    return x >= left && x < right && y >= 0 && y < windowHeight;
}

int FallbackIndexFromRandom(int randomNumber) {
    return kFallbackImageCount - 1 - (randomNumber & (kFallbackImageCount - 1));
}

void StartRotation(BannerRotation& rotation, int frameCount) {
    rotation.frameCount = frameCount;
    rotation.currentFrame = 0;
    rotation.elapsedMs = 0;
}

bool StepRotation(BannerRotation& rotation, const int* delays) {
    if (rotation.frameCount <= 0) {
        return false;
    }
    if (rotation.elapsedMs > delays[rotation.currentFrame]) {
        rotation.currentFrame = (rotation.currentFrame + 1) % rotation.frameCount;
        rotation.elapsedMs = 0;
        return true;
    }
    rotation.elapsedMs += kRotationTickMs;
    return false;
}
