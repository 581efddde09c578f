// Driving the video window: opening it from the main window, recording with the Screen source
// for a while and stopping the way a user does (a click the window takes as the end), and
// asking ffprobe and ffmpeg (Unix programs, started like the recorder tests' sox) about clips.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Writes plugin.ini with the video encoder: 0 the Windows video codecs, 1 RealVideo.
void SelectVideoEncoder(const std::string& programFolder, int videoSelection);

// Opens the window with the main window's Video Message command and runs `inside` in it;
// returns when it closed, true when it opened at all.
bool RunInVideoWindow(HWND mainWindow, const std::function<void(HWND window)>& inside);

// Runs `action` once after about `milliseconds`, from this thread's message loop (also the one
// the window runs while it records).
void After(int milliseconds, std::function<void()> action);

// Presses Record; Stop is pressed after about `milliseconds`. Returns when the recording ended.
void RecordFor(HWND window, int milliseconds);

void Press(HWND window, int id);

// The streams of a media file as ffprobe reports them, one key=value map a stream; each line
// also goes to the test's output. Empty when ffprobe failed.
std::vector<std::map<std::string, std::string>> ProbeStreams(const std::string& folder,
                                                             const std::string& path);

// The video frames of a clip decoded by ffmpeg as RGB, width x height x 3 bytes each.
std::vector<std::string> DecodeFrames(const std::string& folder, const std::string& path, int width,
                                      int height);
