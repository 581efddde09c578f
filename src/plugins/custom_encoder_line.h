// A custom encoder's command line as the user configures it: the first word is the encoder
// program (a .exe in the program directory), "#i" stands for the input file, "#u" for the output
// file, and "#x=" followed by a word gives the output file's extension, for example
//     enc.exe -in #i -out #u #x=.gsm
// Preparing the line finds the program and the extension and puts the input file in place.
#pragma once

#include <cstddef>

constexpr int kCustomLineLength = 1024; // a configured line: 1023 characters
constexpr int kCustomProgramNameLength = 512;
constexpr int kCustomExtensionLength = 256;
// Putting the input name in place of "#i" makes the line 11 characters longer.
constexpr int kPreparedLineLength = kCustomLineLength + 16;

inline constexpr char kCustomInputMark[] = "#i";
inline constexpr char kCustomOutputMark[] = "#u";
inline constexpr char kCustomExtensionMark[] = "#x=";
inline constexpr char kCustomInputReplacement[] = "tempwave.wav ";

struct CustomEncoderCommand {
    char customProgramName[kCustomProgramNameLength]; // empty when not found in the directory
    char customExtension[kCustomExtensionLength];     // without the dot
    char preparedLine[kPreparedLineLength];
};

// Prepares a line (one longer than 1023 characters is cut to that length). Returns 1 when the
// line holds "#x=": then the first "#i" has become "tempwave.wav " and the "#x=" word is blanked
// out with spaces. Returns 0 for an empty line, a line without "#x=", or an extension longer
// than 255 characters; the prepared line is then the line unchanged.
int ParseCustomEncoderLine(const char* line, const char* programDirectory,
                           CustomEncoderCommand& command);
