// What kto2mp3 is asked to do: its command line (a quality digit directly followed by the
// output file name, for example "0voicemsg.mp3"), the MP3 format that the digit selects, and
// the program directory it works in.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kConverterNameLength = 1024;
inline constexpr char kConverterProgramName[] = "kto2mp3.exe";
constexpr uint16_t kMp3FormatTag = 85;

struct ConverterRequest {
    char quality; // '0' 16 kHz, anything else 8 kHz
    char outputName[kConverterNameLength];
};

// The arguments as the start-up code hands them over (leading blanks are skipped here as
// well). 0 when there is nothing to do: no arguments, or a digit without a name. A name longer
// than 1023 characters is cut.
int ParseConverterCommandLine(const char* arguments, ConverterRequest& request);

// The destination of each quality: mono MPEG Layer-3 at this rate and bytes per second.
struct Mp3Destination {
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
};

// '0': 16000 Hz, 2000 bytes a second (16 kbit/s); any other: 8000 Hz, 1000 bytes (8 kbit/s).
Mp3Destination Mp3DestinationFor(char quality);

// Sets nChannels = 1, nSamplesPerSec and nAvgBytesPerSec in a WAVEFORMATEX block of at least
// 18 bytes; the other fields stay as the codec listed them.
void ApplyMp3Destination(unsigned char* format, const Mp3Destination& destination);

// The destination format when kto2mp3 encodes by itself: an MPEG Layer-3 WAVEFORMATEX with its 12
// extra bytes (id 1, padding off, 72-byte frames, one frame a block, codec delay 1393).
constexpr uint32_t kMp3WaveFormatSize = 30;
void BuildMp3WaveFormat(unsigned char (&format)[kMp3WaveFormatSize],
                        const Mp3Destination& destination);

// The directory of the program file: the module path up to and including its last backslash.
// 0 when the path has no backslash or the directory does not fit.
int DirectoryOfModule(const char* modulePath, char* directory, size_t size);
