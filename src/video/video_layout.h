// Where the video window puts its controls and draws, in pixels, for the video size the capture
// source reports (w x h): the window grows to max(w + 10, 315) x (h + 212) and centres the video
// and the buttons on half its client width.
#pragma once

constexpr int kVideoWindowMinimumWidth = 315;

struct VideoRect {
    int x;
    int y;
    int width;
    int height;
};

struct VideoPoint {
    int x;
    int y;
};

// The outer size of the window for a video of w x h.
VideoRect VideoWindowSize(int videoWidth, int videoHeight);

struct VideoLayout {
    VideoRect format;
    VideoRect source;
    VideoRect codec;
    VideoRect capture; // the capture source's window
    VideoRect picture;
    VideoRect record;
    VideoRect stop;
    VideoRect attach;
    VideoRect cancel;
    VideoRect nameLabel;
    VideoRect nameEdit;
    VideoPoint stateWord; // RECORDING, STOPPED, SNAPSHOT
    VideoPoint duration;
};

// The controls for a video of w x h in a client area clientWidth wide.
VideoLayout LayoutVideoWindow(int videoWidth, int videoHeight, int clientWidth);

// The controls as they are created, before the source's size is known: the capture window is
// 160 x 120 at (clientWidth / 2 - 80, 35).
VideoRect InitialCaptureRect(int clientWidth);

// The two grey bands painted behind the video and the buttons: y from 30 to bottom - 147 and
// from bottom - 145 to bottom - 115, the whole width.
struct VideoBands {
    VideoRect upper;
    VideoRect lower;
};
VideoBands VideoGreyBands(int clientWidth, int clientHeight);
