// Reads the MPEG Layer-3 frame headers of a run of frames, for the tests of the MP3 encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Mp3Frame {
    int version; // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    int layer;
    int kbitPerSecond;
    int sampleRate;
    bool mono;
    int length; // bytes, header included
};

// Every frame from the first byte to the last; false when the bytes are not whole frames.
inline bool ReadMp3Frames(const std::string& bytes, std::vector<Mp3Frame>& frames) {
    static const int kMpeg2Rates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int kMpeg1Rates[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                      112, 128, 160, 192, 224, 256, 320};
    size_t at = 0;
    while (at < bytes.size()) {
        if (at + 4 > bytes.size()) {
            return false;
        }
        const auto* h = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) {
            return false;
        }
        Mp3Frame frame = {};
        const int versionBits = (h[1] >> 3) & 3;
        frame.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : versionBits == 0 ? 25 : 0;
        frame.layer = 4 - ((h[1] >> 1) & 3);
        const int rateIndex = h[2] >> 4;
        const int sampleIndex = (h[2] >> 2) & 3;
        const int padding = (h[2] >> 1) & 1;
        frame.mono = (h[3] >> 6) == 3;
        if (frame.version == 0 || frame.layer != 3 || rateIndex == 0 || rateIndex == 15 ||
            sampleIndex == 3) {
            return false;
        }
        static const int kBaseRates[] = {44100, 48000, 32000};
        frame.sampleRate = kBaseRates[sampleIndex] / (frame.version == 1   ? 1
                                                      : frame.version == 2 ? 2
                                                                           : 4);
        frame.kbitPerSecond = frame.version == 1 ? kMpeg1Rates[rateIndex] : kMpeg2Rates[rateIndex];
        const int factor = frame.version == 1 ? 144000 : 72000;
        frame.length = factor * frame.kbitPerSecond / frame.sampleRate + padding;
        frames.push_back(frame);
        at += static_cast<size_t>(frame.length);
    }
    return at == bytes.size();
}
