// Custom encoder lines, output name completion and the encoder command lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "plugins/custom_encoder_line.h"
#include "plugins/encoder_command_line.h"
#include "support/test_bytes.h"

namespace {

TEST(CustomEncoderLine, TheConfiguredExampleStartsAsExpected) {
    std::string directory = TempPath("");
    WriteBytes(directory + "enc.exe", "MZ");
    CustomEncoderCommand command;
    ASSERT_EQ(ParseCustomEncoderLine("enc.exe -in #i -out #u #x=.gsm", directory.c_str(), command),
              1);
    EXPECT_STREQ(command.customProgramName, "enc.exe");
    EXPECT_STREQ(command.customExtension, "gsm");
    EXPECT_STREQ(command.preparedLine, "enc.exe -in tempwave.wav  -out #u        ");

    char name[kEncoderOutputNameLength] = "voicemsg.gsm";
    ASSERT_EQ(CompleteCustomOutputName(name, sizeof name, command.customExtension), 1);
    EXPECT_STREQ(name, "voicemsg.gsm");
    char commandLine[kEncoderCommandLineLength];
    ASSERT_EQ(BuildCustomCommandLine(command.preparedLine, name, commandLine, sizeof commandLine),
              1);
    EXPECT_STREQ(commandLine, "enc.exe -in tempwave.wav  -out voicemsg.gsm        ");
}

TEST(CustomEncoderLine, ProgramIsTakenOnlyWhenItIsAnExeInTheDirectory) {
    std::string directory = TempPath("");
    WriteBytes(directory + "enc.exe", "MZ");
    WriteBytes(directory + "tool", "MZ");
    CustomEncoderCommand command;
    EXPECT_EQ(ParseCustomEncoderLine("   enc.exe #x=gsm", directory.c_str(), command), 1);
    EXPECT_STREQ(command.customProgramName, "enc.exe");
    EXPECT_STREQ(command.customExtension, "gsm");
    EXPECT_EQ(std::string(command.preparedLine), "   enc.exe " + std::string(6, ' '));

    // Not in the directory, not a .exe, not in this case, longer than the name's 511 characters.
    std::string longName = std::string(600, 'a') + ".exe #x=gsm";
    for (const char* line :
         {"other.exe #x=gsm", "tool #x=gsm", "ENC.EXE #x=gsm", longName.c_str()}) {
        EXPECT_EQ(ParseCustomEncoderLine(line, directory.c_str(), command), 1);
        EXPECT_STREQ(command.customProgramName, "");
    }
}

TEST(CustomEncoderLine, LinesWithoutExtensionAreLeftAsTheyAre) {
    std::string directory = TempPath("");
    WriteBytes(directory + "enc.exe", "MZ");
    CustomEncoderCommand command;
    EXPECT_EQ(ParseCustomEncoderLine("enc.exe #i #u", directory.c_str(), command), 0);
    EXPECT_STREQ(command.customProgramName, "enc.exe");
    EXPECT_STREQ(command.customExtension, "");
    EXPECT_STREQ(command.preparedLine, "enc.exe #i #u");

    EXPECT_EQ(ParseCustomEncoderLine("", directory.c_str(), command), 0);
    EXPECT_STREQ(command.customProgramName, "");
    EXPECT_STREQ(command.preparedLine, "");

    // An extension that does not fit its 256 bytes is refused.
    std::string longExtension = "enc.exe #x=" + std::string(256, 'e');
    EXPECT_EQ(ParseCustomEncoderLine(longExtension.c_str(), directory.c_str(), command), 0);
    EXPECT_STREQ(command.customExtension, "");
}

TEST(CustomEncoderLine, OnlyTheFirstMarksAreUsedAndOnlyALeadingDotDropped) {
    std::string directory = TempPath("");
    CustomEncoderCommand command;
    ASSERT_EQ(ParseCustomEncoderLine("e.exe #i #i #x=tar.gz #x=mp3 #u", directory.c_str(), command),
              1);
    EXPECT_STREQ(command.customExtension, "tar.gz");
    EXPECT_EQ(std::string(command.preparedLine),
              "e.exe tempwave.wav  #i " + std::string(9, ' ') + " #x=mp3 #u");
    ASSERT_EQ(ParseCustomEncoderLine("e.exe #x=.ogg\t#i", directory.c_str(), command), 1);
    EXPECT_STREQ(command.customExtension, "ogg");
    EXPECT_EQ(std::string(command.preparedLine),
              "e.exe " + std::string(7, ' ') + "\ttempwave.wav ");
}

TEST(CustomEncoderLine, TheLongestLinesStayInsideTheirBuffers) {
    std::string directory = TempPath("");
    CustomEncoderCommand command;
    // 1023 characters with "#i" at the end grow by 11 within the prepared line.
    std::string line = "e.exe #x=wav " + std::string(1023 - 13 - 2, 'a') + "#i";
    ASSERT_EQ(line.size(), 1023u);
    ASSERT_EQ(ParseCustomEncoderLine(line.c_str(), directory.c_str(), command), 1);
    EXPECT_EQ(std::strlen(command.preparedLine), 1034u);

    // A longer line is cut to 1023 characters.
    std::string longer = "e.exe " + std::string(2000, 'b') + " #x=wav";
    EXPECT_EQ(ParseCustomEncoderLine(longer.c_str(), directory.c_str(), command), 0);
    EXPECT_EQ(std::strlen(command.preparedLine), 1023u);

    // The output name in place of "#u" makes the longest command line; it still fits.
    std::string withOutput = "e.exe #x=wav #u" + std::string(1023 - 15, 'c');
    ASSERT_EQ(ParseCustomEncoderLine(withOutput.c_str(), directory.c_str(), command), 1);
    std::string name(1023, 'n');
    char commandLine[kEncoderCommandLineLength];
    EXPECT_EQ(
        BuildCustomCommandLine(command.preparedLine, name.c_str(), commandLine, sizeof commandLine),
        1);
    EXPECT_EQ(std::strlen(commandLine), 1023u - 2 + 1023u);
    char small[8];
    EXPECT_EQ(BuildCustomCommandLine(command.preparedLine, "x", small, sizeof small), 0);
    EXPECT_STREQ(small, "");
}

TEST(EncoderOutputName, CompletesToEachEncodersExtension) {
    struct Case {
        const char* before;
        const char* mp3;
        const char* realVideo;
        const char* custom; // extension gsm
    };
    const Case cases[] = {
        {"note.wav", "note.mp3", "note.wav.rm", "note.gsm"},
        {"note.mp3", "note.mp3", "note.mp3.rm", "note.mp3.gsm"},
        {"clip.avi", "clip.avi.mp3", "clip.rm", "clip.avi.gsm"},
        {"clip.rm", "clip.rm.mp3", "clip.rm", "clip.rm.gsm"},
        {"note.gsm", "note.gsm.mp3", "note.gsm.rm", "note.gsm"},
        {"notegsm", "notegsm.mp3", "notegsm.rm", "notegsm"},
        {"note.WAV", "note.WAV.mp3", "note.WAV.rm", "note.WAV.gsm"},
        {"note", "note.mp3", "note.rm", "note.gsm"},
        {"", ".mp3", ".rm", ".gsm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        char name[kEncoderOutputNameLength];
        std::snprintf(name, sizeof name, "%s", c.before);
        ASSERT_EQ(CompleteMp3OutputName(name, sizeof name), 1);
        EXPECT_STREQ(name, c.mp3);
        std::snprintf(name, sizeof name, "%s", c.before);
        ASSERT_EQ(CompleteRealVideoOutputName(name, sizeof name), 1);
        EXPECT_STREQ(name, c.realVideo);
        std::snprintf(name, sizeof name, "%s", c.before);
        ASSERT_EQ(CompleteCustomOutputName(name, sizeof name, "gsm"), 1);
        EXPECT_STREQ(name, c.custom);
    }
}

TEST(EncoderOutputName, ANameThatWouldNotFitIsLeftAlone) {
    char name[kEncoderOutputNameLength];
    std::string full(1020, 'n');
    std::snprintf(name, sizeof name, "%s", full.c_str());
    EXPECT_EQ(CompleteMp3OutputName(name, sizeof name), 0);
    EXPECT_EQ(std::string(name), full);
    EXPECT_EQ(CompleteRealVideoOutputName(name, sizeof name), 1); // 1023 characters still fit
    EXPECT_EQ(std::strlen(name), 1023u);

    std::string wav = std::string(1015, 'n') + ".wav";
    std::snprintf(name, sizeof name, "%s", wav.c_str());
    EXPECT_EQ(CompleteCustomOutputName(name, sizeof name, "flac"), 1); // 1015 + 5
    EXPECT_EQ(CompleteCustomOutputName(name, sizeof name, "ogg"), 0);
}

TEST(EncoderCommandLine, QualityDigitStandsRightBeforeTheName) {
    char name[kEncoderOutputNameLength] = "note.wav";
    ASSERT_EQ(CompleteMp3OutputName(name, sizeof name), 1);
    char commandLine[kEncoderCommandLineLength];
    ASSERT_EQ(BuildQualityCommandLine(1, name, commandLine, sizeof commandLine), 1);
    EXPECT_STREQ(commandLine, " 1note.mp3");
    EXPECT_STREQ(name, "note.mp3");
    ASSERT_EQ(BuildQualityCommandLine(0, "voicemsg.mp3", commandLine, sizeof commandLine), 1);
    EXPECT_STREQ(commandLine, " 0voicemsg.mp3");
    char small[6];
    EXPECT_EQ(BuildQualityCommandLine(3, "clip.rm", small, sizeof small), 0);
    EXPECT_STREQ(small, "");
}

} // namespace
