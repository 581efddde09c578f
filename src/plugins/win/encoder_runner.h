// The encoder runners: modal dialogs that start an encoder program, poll it every 200 ms until
// it ends, and kill it on Cancel. Each returns 1 when the program ran and ended by itself, 0
// when it was missing, could not be started, or the user cancelled.
#pragma once

#include <windows.h>

// MP3_COMPRESSION_BOX: kto2mp3.exe " %d%s" with mp3Quality and encoderOutputName (completed
// to ".mp3").
int RunMp3Encoder(HWND owner);

// CUSTOM_PLUGIN_BOX: the prepared custom line with its "#u" replaced by encoderOutputName
// (completed to the custom extension).
int RunCustomEncoder(HWND owner);

// REALVIDEO_PLUGIN_BOX: kto2rm.exe " %d%s" with realVideoSelection and encoderOutputName
// (completed to ".rm").
int RunRealVideoEncoder(HWND owner);

// INSTALL_CODEC_WINDOW: WMEDist.exe, no arguments.
int RunCodecInstaller(HWND owner);
