#include "video/video_layout.h"

namespace {

constexpr int kSettingsButtonWidth = 50;
constexpr int kSettingsButtonHeight = 20;
constexpr int kKeyWidth = 38;
constexpr int kKeyHeight = 25;
constexpr int kActionWidth = 60;
constexpr int kActionHeight = 25;

} // namespace

VideoRect VideoWindowSize(int videoWidth, int videoHeight) {
    const int width =
        videoWidth + 10 > kVideoWindowMinimumWidth ? videoWidth + 10 : kVideoWindowMinimumWidth;
    return VideoRect{0, 0, width, videoHeight + 212};
}

VideoLayout LayoutVideoWindow(int videoWidth, int videoHeight, int clientWidth) {
    const int c = clientWidth / 2;
    const int h = videoHeight;
    VideoLayout layout;
    layout.format = {5, 5, kSettingsButtonWidth, kSettingsButtonHeight};
    layout.source = {55, 5, kSettingsButtonWidth, kSettingsButtonHeight};
    layout.codec = {105, 5, kSettingsButtonWidth, kSettingsButtonHeight};
    layout.capture = {c - videoWidth / 2, 35, videoWidth, videoHeight};
    layout.picture = {c - 67, h + 82, kKeyWidth, kKeyHeight};
    layout.record = {c - 19, h + 82, kKeyWidth, kKeyHeight};
    layout.stop = {c + 29, h + 82, kKeyWidth, kKeyHeight};
    layout.attach = {c - 67, h + 117, kActionWidth, kActionHeight};
    layout.cancel = {c + 7, h + 117, kActionWidth, kActionHeight};
    layout.nameLabel = {8, h + 156, clientWidth - 80, 25};
    layout.nameEdit = {75, h + 152, clientWidth - 80, 25};
    layout.stateWord = {30, h + 49};
    layout.duration = {clientWidth - 125, h + 49};
    return layout;
}

VideoRect InitialCaptureRect(int clientWidth) {
    return VideoRect{clientWidth / 2 - 80, 35, 160, 120};
}

VideoBands VideoGreyBands(int clientWidth, int clientHeight) {
    VideoBands bands;
    bands.upper = {0, 30, clientWidth, clientHeight - 147 - 30};
    bands.lower = {0, clientHeight - 145, clientWidth, 30};
    return bands;
}
