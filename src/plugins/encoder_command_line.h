// The output name handed to an encoder program and the command line it is started with.
// The caller puts a file name (no directory) into EncoderOutputName; the runner completes its
// extension in place, builds the command line, and the caller then attaches
// programDirectory + EncoderOutputName.
#pragma once

#include <cstddef>

constexpr int kEncoderOutputNameLength = 1024;
// Room for a prepared custom line with the output name in place of "#u".
constexpr int kEncoderCommandLineLength = 2 * 1024 + 32;

inline constexpr char kMp3EncoderProgram[] = "kto2mp3.exe";
inline constexpr char kRealVideoEncoderProgram[] = "kto2rm.exe";
inline constexpr char kCodecInstallerProgram[] = "WMEDist.exe";

// Each returns 1, or 0 when the completed name would not fit in size bytes (the name is then
// left as it was). Comparisons are case-sensitive.
// ".wav" becomes ".mp3"; a name ending in ".mp3" is kept; anything else gets ".mp3".
int CompleteMp3OutputName(char* name, size_t size);
// ".avi" becomes ".rm"; a name ending in ".rm" is kept; anything else gets ".rm".
int CompleteRealVideoOutputName(char* name, size_t size);
// ".wav" becomes "." + extension; a name ending in the extension (compared over its length) is
// kept; anything else gets "." + extension.
int CompleteCustomOutputName(char* name, size_t size, const char* extension);

// The MP3 and RealVideo converters' command line: a space, the quality digit, the file name,
// for example " 0voicemsg.mp3". Returns 0, with an empty command line, when it does not fit.
int BuildQualityCommandLine(int quality, const char* outputName, char* commandLine, size_t size);

// A prepared custom line with its first "#u" replaced by the output name. Returns 0, with an
// empty command line, when the result does not fit.
int BuildCustomCommandLine(const char* preparedLine, const char* outputName, char* commandLine,
                           size_t size);
