// The voice file name: the suggestion from the voice attachments already in the message, and
// the check and extension completion for each voice encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugins/plugin_settings.h"
#include "voice/voice_file_names.h"

namespace {

void Attach(AttachmentTable& table, int slot, const std::string& path) {
    std::strncpy(table.slots[slot].path, path.c_str(), sizeof table.slots[slot].path - 1);
}

std::string Suggest(int count, int selection, int slot = 0, const char* extension = "gsm") {
    char name[kVoiceNameBufferSize];
    SuggestVoiceFileName(count, VoiceNameRules{selection, slot, extension}, name, sizeof name);
    return name;
}

// The name after ValidateVoiceFileName, or "refused".
std::string Validate(const std::string& typed, int selection, int slot = 0,
                     const char* extension = "gsm") {
    char name[kVoiceNameBufferSize] = {};
    std::strncpy(name, typed.c_str(), sizeof name - 1);
    if (!ValidateVoiceFileName(name, VoiceNameRules{selection, slot, extension})) {
        EXPECT_EQ(std::string(name), typed.substr(0, sizeof name - 1)) << "left as it was";
        return "refused";
    }
    return name;
}

TEST(VoiceFileNames, CountsAttachmentsWhoseLastTwelveCharactersBeginWithVoicem) {
    AttachmentTable table = {};
    EXPECT_EQ(CountVoiceAttachments(table), 0);
    Attach(table, 0, "c:\\kestro\\voicemsg.wav");
    Attach(table, 1, "c:\\kestro\\voicem01.mp3");
    Attach(table, 2, "voicem02.gsm");             // exactly twelve characters
    Attach(table, 3, "c:\\kestro\\voicem3.wav");  // the tail is "\voicem3.wav"
    Attach(table, 4, "c:\\kestro\\voicem01.rm");  // a two-letter extension shifts the tail
    Attach(table, 5, "c:\\kestro\\Voicem04.wav"); // compared case-sensitively
    Attach(table, 6, "c:\\kestro\\voicem05.wav.txt");
    Attach(table, 7, "oicem06.wav");
    Attach(table, 8, "c:\\voicem07.wav");
    EXPECT_EQ(CountVoiceAttachments(table), 4);
    table.slots[2].path[0] = '\0'; // the list ends at the first free slot
    EXPECT_EQ(CountVoiceAttachments(table), 2);
}

TEST(VoiceFileNames, SuggestionsFollowTheCountAndTheEncoder) {
    EXPECT_EQ(Suggest(0, kAudioGsm), "voicemsg.wav");
    EXPECT_EQ(Suggest(1, kAudioGsm), "voicem01.wav");
    EXPECT_EQ(Suggest(2, kAudioUncompressed), "voicem02.wav");
    EXPECT_EQ(Suggest(9, kAudioGsm), "voicem09.wav");
    EXPECT_EQ(Suggest(10, kAudioGsm), "voicem10.wav");
    EXPECT_EQ(Suggest(64, kAudioGsm), "voicem64.wav");
    EXPECT_EQ(Suggest(0, kAudioMp3), "voicemsg.mp3");
    EXPECT_EQ(Suggest(3, kAudioMp3), "voicem03.mp3");
    EXPECT_EQ(Suggest(12, kAudioMp3), "voicem12.mp3");
    EXPECT_EQ(Suggest(0, kAudioCustom, 0, "ogg"), "voicemsg.ogg");
    EXPECT_EQ(Suggest(5, kAudioCustom, 1, "ogg"), "voicem05.ogg");
    EXPECT_EQ(Suggest(11, kAudioCustom, 1, "flac"), "voicem11.flac");
    EXPECT_EQ(Suggest(0, kAudioCustom, 2), "") << "no such slot";
    EXPECT_EQ(Suggest(0, 4), "");

    char small[8] = "x";
    EXPECT_FALSE(SuggestVoiceFileName(0, VoiceNameRules{kAudioGsm, 0, ""}, small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(VoiceFileNames, RefusesEmptyLongAndForbiddenNames) {
    EXPECT_EQ(Validate("", kAudioGsm), "refused");
    EXPECT_EQ(Validate(std::string(225, 'a'), kAudioGsm), "refused");
    EXPECT_EQ(Validate(std::string(224, 'a'), kAudioGsm), std::string(224, 'a') + ".wav");
    for (char c : std::string("\\/:*?\"<>|")) {
        EXPECT_EQ(Validate(std::string("no") + c + "te", kAudioGsm), "refused") << c;
        EXPECT_EQ(Validate(std::string("no") + c + "te", 7), "refused") << c;
    }
    EXPECT_EQ(Validate("what?", kAudioMp3), "refused");
    EXPECT_EQ(std::string(kInvalidVoiceNameText),
              "A filename cannot contain any of the following characters:\n"
              "                      \\ / : * ? \" < > | ");
}

TEST(VoiceFileNames, CompletesTheExtensionOfEachEncoder) {
    EXPECT_EQ(Validate("note.wav", kAudioGsm), "note.wav");
    EXPECT_EQ(Validate("note", kAudioGsm), "note.wav");
    EXPECT_EQ(Validate("note.WAV", kAudioUncompressed), "note.WAV.wav");
    EXPECT_EQ(Validate("note.mp3", kAudioUncompressed), "note.mp3.wav");

    EXPECT_EQ(Validate("note.wav", kAudioMp3), "note.mp3");
    EXPECT_EQ(Validate("note.mp3", kAudioMp3), "note.mp3");
    EXPECT_EQ(Validate("note", kAudioMp3), "note.mp3");
    EXPECT_EQ(Validate(".wav", kAudioMp3), ".mp3");

    EXPECT_EQ(Validate("note", kAudioCustom, 0, "gsm"), "note.gsm");
    EXPECT_EQ(Validate("note.wav", kAudioCustom, 1, "gsm"), "note.gsm");
    EXPECT_EQ(Validate("note.gsm", kAudioCustom, 0, "gsm"), "note.gsm");
    EXPECT_EQ(Validate("notegsm", kAudioCustom, 0, "gsm"), "notegsm") << "compared without dot";
    EXPECT_EQ(Validate("note", kAudioCustom, 2, "gsm"), "note") << "another slot keeps it";
    EXPECT_EQ(Validate("note", 9), "note");
}

TEST(VoiceFileNames, ACompletionThatDoesNotFitIsRefused) {
    const std::string extension(200, 'e');
    EXPECT_EQ(Validate(std::string(60, 'n'), kAudioCustom, 0, extension.c_str()), "refused");
    EXPECT_EQ(Validate(std::string(50, 'n'), kAudioCustom, 0, extension.c_str()),
              std::string(50, 'n') + "." + extension);
}

} // namespace
