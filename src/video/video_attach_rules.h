// The rules of attaching a recorded clip: whether the capture is already compressed, what the
// platform's AVI save is asked for each stream, the progress caption and the messages.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr char kCaptureFileName[] = "avitemp.avi";
constexpr size_t kCaptureHeadSize = 511; // bytes the compressed-capture test looks at
constexpr size_t kCopyBlockSize = 8192;

// The first "vids" in the first 511 bytes is the type of the video stream header; the four bytes
// after it name the compressor ("handler"). A capture counts as compressed when the first of
// them is not 0. No "vids" at all: raw.
bool CaptureIsCompressed(const unsigned char* head, size_t count);

// The dialog caption for a progress report of the AVI save: "Compressing - Percent Done ... N%"
// with N twice the report, while the report is below 51; false (caption unchanged) after that.
bool CompressionCaption(int percent, char* out, size_t size);

// What the AVI save is asked for one stream (the fields of AVICOMPRESSOPTIONS the program sets).
struct StreamCompressOptions {
    uint32_t type;
    uint32_t handler;
    uint32_t keyFrameEvery;
    uint32_t quality;
    uint32_t bytesPerSecond;
    uint32_t flags;
    uint32_t interleaveEvery;
    bool ownFormat; // the stream keeps its own format (read into the options record)
};
constexpr uint32_t kCompressKeyFrames = 0x4; // AVICOMPRESSF_KEYFRAMES
constexpr uint32_t kCompressValid = 0x8;     // AVICOMPRESSF_VALID

// Video: Indeo 3.2, a key frame every 15 frames, quality 7000, interleaved every frame. Sound:
// its own format, interleaved every frame. Other streams: only their type.
StreamCompressOptions CompressOptionsFor(uint32_t streamType);

// AVIERR_FILEOPEN: the save was asked to overwrite a file that is open.
constexpr uint32_t kAviErrorFileOpen = 0x8004406F;

inline constexpr char kVideoErrorCaption[] = "VIDEO ERROR";
inline constexpr char kCaptureOpenFailedText[] = "Error opening file.  Attachment not made";
inline constexpr char kEncoderMissingCaption[] = "Video encoder missing";
inline constexpr char kEncoderMissingText[] =
    "You need to install the Windows Video CoDecs.  Please read the\n"
    "Kestro Troubleshooting documentation on how to do this.";
inline constexpr char kAviErrorCaption[] = "AVI error";
inline constexpr char kOverwriteOpenAviText[] = "Overwriting an open AVI file is not possible";
inline constexpr char kSaveAviFailedText[] = "Error saving AVI file";

// The text of the save's result (0 is success and has none).
const char* AviSaveErrorText(uint32_t result);
