// plugin.ini: the five lines byte for byte, defaults for a missing file, the version check,
// clamping, and the capture format each choice gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "plugins/plugin_settings.h"
#include "support/test_bytes.h"

namespace {

std::string IniPath(const std::string& directory) {
    return directory + "plugin.ini";
}

void ExpectCaptureFormat(const PluginSettings& s, uint32_t rate, uint32_t avg, uint16_t align,
                         uint16_t bits) {
    EXPECT_EQ(s.channels, 1u);
    EXPECT_EQ(s.samplesPerSec, rate);
    EXPECT_EQ(s.avgBytesPerSec, avg);
    EXPECT_EQ(s.blockAlign, align);
    EXPECT_EQ(s.bitsPerSample, bits);
}

TEST(PluginSettings, MissingFileGivesDefaultsAndIsWritten) {
    std::string directory = TempPath("");
    std::remove(IniPath(directory).c_str());
    PluginSettings settings = {};
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 0);
    EXPECT_EQ(ReadBytes(IniPath(directory)), "VERSION=10\nAUDIO_SELECTION=1\nMP3_QUALITY=0\n"
                                             "VIDEO_SELECTION=1\nREALVIDEO_SELECTION=1\n");
    ExpectCaptureFormat(settings, 16000, 16000, 1, 8);

    std::remove(IniPath(directory).c_str());
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 0, settings), 0);
    EXPECT_EQ(ReadBytes(IniPath(directory)), "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\n"
                                             "VIDEO_SELECTION=1\nREALVIDEO_SELECTION=1\n");
    ExpectCaptureFormat(settings, 8000, 8000, 1, 8);

    // The written file reads back as it was written.
    PluginSettings again = {};
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, again), 1);
    EXPECT_EQ(again.audioSelection, 0);
    EXPECT_EQ(again.videoSelection, 1);
    EXPECT_EQ(again.realVideoSelection, 1);
}

TEST(PluginSettings, OtherVersionResetsEverySelectionAndLeavesTheFile) {
    std::string directory = TempPath("");
    const std::string text = "VERSION=9\nAUDIO_SELECTION=3\nMP3_QUALITY=1\nVIDEO_SELECTION=1\n"
                             "REALVIDEO_SELECTION=2\n";
    WriteBytes(IniPath(directory), text);
    PluginSettings settings = {};
    settings.customSlot = 1;
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 0);
    EXPECT_EQ(settings.audioSelection, 0);
    EXPECT_EQ(settings.mp3Quality, 0);
    EXPECT_EQ(settings.videoSelection, 0);
    EXPECT_EQ(settings.realVideoSelection, 0);
    EXPECT_EQ(settings.customSlot, 0);
    ExpectCaptureFormat(settings, 8000, 8000, 1, 8);
    EXPECT_EQ(ReadBytes(IniPath(directory)), text);

    WriteBytes(IniPath(directory), "AUDIO_SELECTION=1\n"); // no version line: version 0
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 0);
    EXPECT_EQ(settings.audioSelection, 0);
}

TEST(PluginSettings, ValuesAreClampedAsEachKeyAllows) {
    std::string directory = TempPath("");
    WriteBytes(IniPath(directory), "VERSION=10\nAUDIO_SELECTION=7\nMP3_QUALITY=2\n"
                                   "VIDEO_SELECTION=-1\nREALVIDEO_SELECTION=4\n");
    PluginSettings settings = {};
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 1);
    EXPECT_EQ(settings.audioSelection, 0);
    EXPECT_EQ(settings.mp3Quality, 0);
    EXPECT_EQ(settings.videoSelection, -1);
    EXPECT_EQ(settings.realVideoSelection, 0);

    WriteBytes(IniPath(directory), "VERSION=10\nAUDIO_SELECTION=-1\nMP3_QUALITY=-1\n"
                                   "VIDEO_SELECTION=2\nREALVIDEO_SELECTION=-1\n");
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 1);
    EXPECT_EQ(settings.audioSelection, 0);
    EXPECT_EQ(settings.mp3Quality, 0);
    EXPECT_EQ(settings.videoSelection, 0);
    EXPECT_EQ(settings.realVideoSelection, 0);
}

TEST(PluginSettings, LinesAreReadByKeyAtTheirStart) {
    std::string directory = TempPath("");
    // CR LF line ends, a repeated key (the last one counts), a key not at the start, a key in
    // lower case, a long line hiding a key beyond 1023 characters, and a last line without its
    // line feed.
    std::string text = "REALVIDEO_SELECTION=3\r\n"
                       "AUDIO_SELECTION=1\r\n"
                       " MP3_QUALITY=1\n"
                       "mp3_quality=1\n" +
                       std::string(1023, 'x') + "VIDEO_SELECTION=1\n" +
                       "AUDIO_SELECTION=3\n"
                       "MP3_QUALITY=junk\n"
                       "VERSION=10";
    WriteBytes(IniPath(directory), text);
    PluginSettings settings = {};
    EXPECT_EQ(ReadPluginSettings(directory.c_str(), 1, settings), 1);
    EXPECT_EQ(settings.audioSelection, 3);
    EXPECT_EQ(settings.mp3Quality, 0);
    EXPECT_EQ(settings.videoSelection, 0);
    EXPECT_EQ(settings.realVideoSelection, 3);
    ExpectCaptureFormat(settings, 44100, 88200, 2, 16);
}

TEST(PluginSettings, CaptureFormatFollowsTheVoiceEncoder) {
    struct Row {
        int audio, quality;
        uint32_t rate, avg;
        uint16_t align, bits;
    };
    const Row rows[] = {
        {0, 0, 8000, 8000, 1, 8},    {0, 1, 8000, 8000, 1, 8},   {2, 1, 8000, 8000, 1, 8},
        {1, 0, 16000, 16000, 1, 8},  {1, 1, 8000, 16000, 2, 16}, {3, 0, 44100, 88200, 2, 16},
        {3, 1, 44100, 88200, 2, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "audio " << row.audio << " quality " << row.quality);
        PluginSettings settings = {};
        settings.audioSelection = row.audio;
        settings.mp3Quality = row.quality;
        ApplyCaptureFormat(settings);
        ExpectCaptureFormat(settings, row.rate, row.avg, row.align, row.bits);
    }
}

TEST(PluginSettings, WritesTheFiveLinesExactly) {
    std::string directory = TempPath("");
    WriteBytes(IniPath(directory), "something much longer that must be replaced entirely\n\n\n\n");
    PluginSettings settings = {};
    settings.audioSelection = 3;
    settings.mp3Quality = 1;
    settings.videoSelection = -1;
    settings.realVideoSelection = 2;
    EXPECT_EQ(WritePluginSettings(directory.c_str(), settings), 1);
    EXPECT_EQ(ReadBytes(IniPath(directory)), "VERSION=10\nAUDIO_SELECTION=3\nMP3_QUALITY=1\n"
                                             "VIDEO_SELECTION=-1\nREALVIDEO_SELECTION=2\n");

    std::string missing = directory + "no such directory/";
    EXPECT_EQ(WritePluginSettings(missing.c_str(), settings), 0);
    std::string tooLong(1020, 'd');
    EXPECT_EQ(WritePluginSettings(tooLong.c_str(), settings), 0);
}

} // namespace
