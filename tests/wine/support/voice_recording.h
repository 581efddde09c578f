// Driving the voice recorder window over the test sound device: a private PulseAudio daemon
// whose null sinks give Wine a microphone and a speaker (scripts/sound-device.sh). What pacat
// plays into the microphone sink is what the recorder records.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "support/unix_command.h"

// The test sound device is running (PULSE_SERVER and KESTRO_TEST_MICROPHONE are set).
bool TestSoundDeviceRunning();

// Writes plugin.ini into the program folder with the voice encoder; the recorder reads it
// when it opens.
void SelectVoiceEncoder(const std::string& programFolder, int audioSelection, int mp3Quality = 0);

// Opens the recorder with the main window's Voice Message command and runs `inside` in it;
// returns when the recorder closed, true when it opened at all.
bool RunInRecorder(HWND mainWindow, const std::function<void(HWND recorder)>& inside);

// Starts playing raw 8000 Hz unsigned 8-bit mono sound into the microphone, in real time.
UnixCommand FeedMicrophone(const std::string& folder, const std::string& rawPath);

// The LAME DLL that kto2mp3.exe loads from its own folder.
constexpr const char* kLameDll = "libmp3lame-0.dll";

// Copies a program built beside the test program (kto2mp3.exe with its DLL, ...) into a folder,
// under another name when `as` is given.
bool CopyTestProgram(const char* name, const std::string& folder, const char* as = nullptr);

// The folder of the spoken recordings that scripts/make-speech-fixtures.sh makes (KESTRO_SPEECH,
// set by scripts/test.sh and scripts/bench.sh), with a trailing backslash; "" when it is not set.
std::string SpeechFolder();
