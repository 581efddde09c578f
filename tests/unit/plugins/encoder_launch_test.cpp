// What the four encoder runners start and say, and the custom encoder lines kept in custom.ini.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "plugins/custom_encoder_store.h"
#include "plugins/encoder_launch.h"
#include "support/test_bytes.h"

namespace {

TEST(EncoderLaunch, Mp3AndRealVideoStartTheirProgramWithTheDigitBeforeTheName) {
    CustomEncoderCommand custom = {};
    EncoderLaunch launch;
    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::Mp3, "C:\\K\\", custom, launch), 1);
    EXPECT_STREQ(launch.programPath, "C:\\K\\kto2mp3.exe");
    EXPECT_STREQ(launch.startupTitle, "MP3 Compression");
    EXPECT_EQ(launch.timerId, 1000u);
    char name[kEncoderOutputNameLength] = "note.wav";
    ASSERT_EQ(CompleteEncoderLaunch(EncoderRunnerKind::Mp3, 1, name, sizeof name, custom, launch),
              1);
    EXPECT_STREQ(name, "note.mp3");
    EXPECT_STREQ(launch.commandLine, " 1note.mp3");

    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::RealVideo, "C:\\K\\", custom, launch), 1);
    EXPECT_STREQ(launch.programPath, "C:\\K\\kto2rm.exe");
    EXPECT_STREQ(launch.startupTitle, " ");
    std::snprintf(name, sizeof name, "clip.avi");
    ASSERT_EQ(
        CompleteEncoderLaunch(EncoderRunnerKind::RealVideo, 3, name, sizeof name, custom, launch),
        1);
    EXPECT_STREQ(name, "clip.rm");
    EXPECT_STREQ(launch.commandLine, " 3clip.rm");

    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::CodecInstaller, "C:\\K\\", custom, launch),
              1);
    EXPECT_STREQ(launch.programPath, "C:\\K\\WMEDist.exe");
    EXPECT_EQ(launch.timerId, 1u);
    std::snprintf(name, sizeof name, "left.wav");
    ASSERT_EQ(CompleteEncoderLaunch(EncoderRunnerKind::CodecInstaller, 0, name, sizeof name, custom,
                                    launch),
              1);
    EXPECT_STREQ(launch.commandLine, "");
    EXPECT_STREQ(name, "left.wav");

    // A name that cannot take its extension starts nothing.
    std::string full(kEncoderOutputNameLength - 2, 'n');
    std::snprintf(name, sizeof name, "%s", full.c_str());
    EXPECT_EQ(CompleteEncoderLaunch(EncoderRunnerKind::Mp3, 0, name, sizeof name, custom, launch),
              0);
    EXPECT_STREQ(launch.commandLine, "");
}

TEST(EncoderLaunch, CustomRunnerStartsThePreparedLineWithTheOutputName) {
    const std::string directory = TempPath("");
    WriteBytes(directory + "enc.exe", "MZ");
    CustomEncoderCommand custom;
    ASSERT_EQ(ParseCustomEncoderLine("enc.exe -in #i -out #u #x=.gsm", directory.c_str(), custom),
              1);
    EncoderLaunch launch;
    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::Custom, directory.c_str(), custom, launch),
              1);
    EXPECT_EQ(launch.programPath, directory + "enc.exe");
    EXPECT_STREQ(launch.startupTitle, "Custom Encoder");
    char name[kEncoderOutputNameLength] = "voicemsg.wav";
    ASSERT_EQ(
        CompleteEncoderLaunch(EncoderRunnerKind::Custom, 0, name, sizeof name, custom, launch), 1);
    EXPECT_STREQ(name, "voicemsg.gsm");
    EXPECT_EQ(std::string(launch.commandLine),
              "enc.exe -in tempwave.wav  -out voicemsg.gsm" + std::string(8, ' '));

    // The program of the line is not there: the path is the bare directory (which cannot be
    // opened as a file) and the message names the line's first word.
    ASSERT_EQ(ParseCustomEncoderLine("  gone.exe #i #u #x=ogg", directory.c_str(), custom), 1);
    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::Custom, directory.c_str(), custom, launch),
              1);
    EXPECT_EQ(launch.programPath, directory);
    char text[kEncoderMessageLength];
    const char* caption = nullptr;
    EncoderMissingMessage(EncoderRunnerKind::Custom, launch, text, sizeof text, &caption);
    EXPECT_STREQ(text, "The encoder program specified in the command line\ngone.exe\nCould not be "
                       "found.\n\nMake sure it's in the directory");
    EXPECT_STREQ(caption, "Custom encoder missing!");
}

TEST(EncoderLaunch, MissingAndUnstartableProgramMessages) {
    CustomEncoderCommand custom = {};
    EncoderLaunch launch;
    char text[kEncoderMessageLength];
    const char* caption = nullptr;
    struct Case {
        EncoderRunnerKind kind;
        const char* text;
        const char* caption;
    } cases[] = {
        {EncoderRunnerKind::Mp3,
         "The kto2mp3.exe program could not be found.\n\nPlease re-install the Kestro Package.",
         "Kestro MP3 encoder missing"},
        {EncoderRunnerKind::RealVideo,
         "The Real Video Encoder is missing.\n\nYou need to install the REAL video "
         "plugin.\nDownload it from the website.",
         "Real Video encoder not found!"},
        {EncoderRunnerKind::CodecInstaller,
         "To create MP3 voice messages you need\nto install Windows Media Player 7.",
         "Kestro reminder"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(DescribeEncoderLaunch(c.kind, "D:\\", custom, launch), 1);
        EncoderMissingMessage(c.kind, launch, text, sizeof text, &caption);
        EXPECT_STREQ(text, c.text);
        EXPECT_STREQ(caption, c.caption);
    }
    ASSERT_EQ(DescribeEncoderLaunch(EncoderRunnerKind::Mp3, "D:\\", custom, launch), 1);
    EncoderNotStartedMessage(EncoderRunnerKind::Mp3, launch, text, sizeof text, &caption);
    EXPECT_STREQ(text, "The program\nD:\\kto2mp3.exe\ncould not be started.\n\nThe file may be "
                       "damaged; please install it again.");
    EXPECT_STREQ(caption, "Kestro MP3 encoder missing");
}

TEST(CustomEncoderStore, LinesAndSlotRoundTripExactly) {
    const std::string directory = TempPath("");
    std::remove((directory + "custom.ini").c_str()); // left by an earlier run
    CustomEncoderLines lines;
    EXPECT_EQ(ReadCustomEncoderLines(directory.c_str(), lines), 0);
    EXPECT_EQ(lines.slot, 0);
    EXPECT_STREQ(lines.lines[0], "");

    std::snprintf(lines.lines[0], sizeof lines.lines[0], "enc.exe -in #i -out #u #x=.gsm");
    std::snprintf(lines.lines[1], sizeof lines.lines[1], "b.exe #i #u #x=ogg a=b");
    lines.slot = 1;
    ASSERT_EQ(WriteCustomEncoderLines(directory.c_str(), lines), 1);
    EXPECT_EQ(ReadBytes(directory + "custom.ini"),
              "CUSTOM_SLOT=1\nCUSTOM1=enc.exe -in #i -out #u #x=.gsm\nCUSTOM2=b.exe #i #u #x=ogg "
              "a=b\n");
    CustomEncoderLines again;
    ASSERT_EQ(ReadCustomEncoderLines(directory.c_str(), again), 1);
    EXPECT_EQ(again.slot, 1);
    EXPECT_STREQ(again.lines[0], lines.lines[0]);
    EXPECT_STREQ(again.lines[1], lines.lines[1]);
}

TEST(CustomEncoderStore, OddFilesReadSafely) {
    const std::string directory = TempPath("");
    // CR LF ends, an unknown slot, a line longer than 1023 characters, no line end at the end.
    WriteBytes(directory + "custom.ini", "CUSTOM_SLOT=5\r\nOTHER=1\r\nCUSTOM1=" +
                                             std::string(1500, 'x') + "\r\nCUSTOM2=last");
    CustomEncoderLines lines;
    ASSERT_EQ(ReadCustomEncoderLines(directory.c_str(), lines), 1);
    EXPECT_EQ(lines.slot, 0);
    EXPECT_EQ(std::string(lines.lines[0]), std::string(1023, 'x'));
    EXPECT_STREQ(lines.lines[1], "last");

    // A line end inside a line is not written: the line would come back split.
    std::snprintf(lines.lines[1], sizeof lines.lines[1], "one\ntwo");
    ASSERT_EQ(WriteCustomEncoderLines(directory.c_str(), lines), 1);
    ASSERT_EQ(ReadCustomEncoderLines(directory.c_str(), lines), 1);
    EXPECT_STREQ(lines.lines[1], "one");
    EXPECT_EQ(WriteCustomEncoderLines((directory + "no-such-dir/").c_str(), lines), 0);
}

} // namespace
