// What each encoder runner starts: the program, its command line, the title handed to it, the
// runner's timer, and the message shown when the program is missing.
#pragma once

#include <cstddef>

#include "plugins/custom_encoder_line.h"
#include "plugins/encoder_command_line.h"

enum class EncoderRunnerKind {
    Mp3,            // kto2mp3.exe
    Custom,         // the program of the selected custom line
    RealVideo,      // kto2rm.exe
    CodecInstaller, // WMEDist.exe
};

constexpr int kEncoderProgramPathLength = 1024 + kCustomProgramNameLength;
constexpr int kEncoderMessageLength = 2048;

struct EncoderLaunch {
    char programPath[kEncoderProgramPathLength]; // programDirectory + the program's name
    char programName[kCustomProgramNameLength];  // as the messages show it
    char commandLine[kEncoderCommandLineLength];
    const char* startupTitle; // lpTitle of the STARTUPINFO
    unsigned timerId;
};

inline constexpr char kMp3MissingText[] =
    "The %s program could not be found.\n\nPlease re-install the Kestro Package.";
inline constexpr char kMp3MissingCaption[] = "Kestro MP3 encoder missing";
inline constexpr char kCustomMissingText[] =
    "The encoder program specified in the command line\n%s\nCould not be found.\n\nMake sure "
    "it's in the directory";
inline constexpr char kCustomMissingCaption[] = "Custom encoder missing!";
inline constexpr char kRealVideoMissingText[] =
    "The Real Video Encoder is missing.\n\nYou need to install the REAL video plugin.\nDownload "
    "it from the website.";
inline constexpr char kRealVideoMissingCaption[] = "Real Video encoder not found!";
inline constexpr char kInstallerMissingText[] =
    "To create MP3 voice messages you need\nto install Windows Media Player 7.";
inline constexpr char kInstallerMissingCaption[] = "Kestro reminder";
// A program that is there but cannot be started (not a program, or damaged).
inline constexpr char kEncoderNotStartedText[] =
    "The program\n%s\ncould not be started.\n\nThe file may be damaged; please install it again.";

// Program path, name, title and timer of a runner. For the custom runner the program is
// customProgramName (empty when the line's program is not in the program directory; the
// messages then show the line's first word). 0 when the path does not fit.
int DescribeEncoderLaunch(EncoderRunnerKind kind, const char* programDirectory,
                          const CustomEncoderCommand& custom, EncoderLaunch& launch);

// The missing-program message of a runner and its caption.
void EncoderMissingMessage(EncoderRunnerKind kind, const EncoderLaunch& launch, char* text,
                           size_t size, const char** caption);

// The message for a program that could not be started, with the runner's caption.
void EncoderNotStartedMessage(EncoderRunnerKind kind, const EncoderLaunch& launch, char* text,
                              size_t size, const char** caption);

// Completes outputName in place to the runner's extension and builds the command line: " %d%s"
// of quality and the name for MP3 and RealVideo, the prepared custom line with its first "#u"
// replaced by the name, and an empty line for the installer. 0 when the name or the line does
// not fit.
int CompleteEncoderLaunch(EncoderRunnerKind kind, int quality, char* outputName,
                          size_t outputNameSize, const CustomEncoderCommand& custom,
                          EncoderLaunch& launch);
