// The ".kto" file: the exact bytes written, the text-mode translation of the body, loading a
// hand-written file, and files that are cut short, overlong or junk.
#include "store/saved_message_file.h"

#include "base/file_bytes.h"
#include "base/program_settings.h"
#include "mail/outgoing_message.h"

#include <gtest/gtest.h>

#include "support/message_ptr.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

const char* const kFolder = "C:\\Program Files\\Kestro\\save\\Dec062026-1217AM-56";
const char* const kDate = "Dec 06 2026  12:17 AM";
const std::string kEditorRtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
                               "\\viewkind4\\uc1\\pard\\b\\f0\\fs20 Lunch\\b0  at noon\\par\r\n"
                               "}\r\n";

ProgramSettings Settings() {
    ProgramSettings settings = {};
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.com");
    return settings;
}

// The message the fixture lunch_friday.kto was written for.
MessagePtr LunchMessage() {
    MessagePtr message = NewMessage();
    ParseRecipients("bo@example.org cy@example.net", message->to);
    ParseRecipients("dee@example.com", message->cc);
    message->hasCc = 1;
    std::strcpy(message->subject, "Lunch: Friday?  Bring the maps");
    message->alternative = 1;
    AddOutgoingAttachment(*message, "c:\\users\\ann\\voice.mp3", 100);
    AddOutgoingAttachment(*message, "c:\\users\\ann\\pictures\\snap shot.jpg", 200);
    return message;
}

std::unique_ptr<SavedMessage> Parse(const std::string& bytes, bool* loaded = nullptr) {
    auto message = std::make_unique<SavedMessage>();
    const bool result = ParseSavedMessage(bytes.data(), bytes.size(), *message);
    if (loaded != nullptr) {
        *loaded = result;
    }
    return message;
}

bool Terminated(const char* field, size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

// Every field ends within its buffer and holds only the characters its reader keeps.
void ExpectSound(const SavedMessage& m) {
    auto kept = [](char c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        return (byte >= 0x20 && byte <= 0x7E) || byte >= 0x80;
    };
    for (const char* field : {m.to, m.cc, m.bcc}) {
        ASSERT_TRUE(Terminated(field, kFieldTextLength));
        for (const char* p = field; *p != '\0'; ++p) {
            EXPECT_TRUE(kept(*p) && *p != ' ');
        }
    }
    ASSERT_TRUE(Terminated(m.subject, sizeof m.subject));
    for (const char* p = m.subject; *p != '\0'; ++p) {
        EXPECT_TRUE(kept(*p));
    }
    ASSERT_GE(m.attachmentCount, 0);
    ASSERT_LE(m.attachmentCount, kMaxAttachments);
    for (int i = 0; i < m.attachmentCount; ++i) {
        ASSERT_TRUE(Terminated(m.attachmentPaths[i], kAttachmentPathLength));
        EXPECT_NE(m.attachmentPaths[i][0], '\0');
    }
    EXPECT_TRUE(m.htmlFormatting == 0 || m.htmlFormatting == 1);
}

TEST(SavedMessageFile, WritesTheHeaderLinesAndTheBodyWithTextModeLineEnds) {
    MessagePtr message = LunchMessage();
    ParseRecipients("eve@example.com", message->bcc);
    const ProgramSettings settings = Settings();
    const std::string file = FormatSavedMessageFile(*message, settings, kFolder, kDate,
                                                    kEditorRtf.data(), kEditorRtf.size());
    EXPECT_EQ(file, "FROMemailann@example.com\r\n"
                    "FROMnameAnn Lee\r\n"
                    "TO2\r\nbo@example.org\r\ncy@example.net\r\n"
                    "CC1\r\ndee@example.com\r\n"
                    "BCC1\r\neve@example.com\r\n"
                    "SUBJECTLunch: Friday?  Bring the maps\r\n"
                    "ATTACHMENTS2\r\n"
                    "C:\\Program Files\\Kestro\\save\\Dec062026-1217AM-56\\voice.mp3\r\n"
                    "C:\\Program Files\\Kestro\\save\\Dec062026-1217AM-56\\snap shot.jpg\r\n"
                    "FLAGHTML=1\r\n"
                    "DATE=Dec 06 2026  12:17 AM\r\n"
                    "BODY\r\n"
                    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\r\n"
                    "\\viewkind4\\uc1\\pard\\b\\f0\\fs20 Lunch\\b0  at noon\\par\r\r\n"
                    "}\r\r\n");
}

TEST(SavedMessageFile, AnEmptyMessageStillHasEveryLine) {
    MessagePtr message = NewMessage();
    std::strcpy(message->subject, "No Subject");
    const ProgramSettings settings = {};
    EXPECT_EQ(FormatSavedMessageFile(*message, settings, kFolder, kDate, " ", 1),
              "FROMemail\r\nFROMname\r\nTO0\r\nCC0\r\nBCC0\r\nSUBJECTNo Subject\r\n"
              "ATTACHMENTS0\r\nFLAGHTML=0\r\nDATE=Dec 06 2026  12:17 AM\r\nBODY\r\n ");
}

TEST(SavedMessageFile, AValueCannotCarryALineEndIntoTheHeader) {
    MessagePtr message = NewMessage();
    std::strcpy(message->subject, "one\r\nBODY\r\nmore");
    ProgramSettings settings = Settings();
    CopyField(settings.userName, "Ann\nTO1");
    const std::string header = FormatSavedMessageHeader(*message, settings, kFolder, kDate);
    EXPECT_NE(header.find("\r\nFROMnameAnn\r\nTO0\r\n"), std::string::npos);
    EXPECT_NE(header.find("\r\nSUBJECTone\r\nATTACHMENTS0\r\n"), std::string::npos);
}

TEST(SavedMessageFile, TextModeTranslationIsUndoneExactly) {
    std::string stored;
    AppendTextModeBytes(stored, "a\r\nb\nc\r", 7);
    EXPECT_EQ(stored, "a\r\r\nb\r\nc\r");
    EXPECT_EQ(UndoTextModeBytes(stored.data(), stored.size()), "a\r\nb\nc\r");

    // Any bytes come back unchanged, chunk by chunk as the editor streams them.
    uint32_t seed = 12345;
    for (int round = 0; round < 50; ++round) {
        std::string original;
        std::string chunked;
        for (int i = 0; i < 300; ++i) {
            seed = seed * 1103515245u + 12345u;
            const char pick[] = {'\r', '\n', 'x', '\0', '\x1a', '\xff'};
            original += pick[(seed >> 16) % sizeof pick];
        }
        for (size_t at = 0; at < original.size(); at += 7) {
            AppendTextModeBytes(chunked, original.data() + at,
                                std::min<size_t>(7, original.size() - at));
        }
        EXPECT_EQ(UndoTextModeBytes(chunked.data(), chunked.size()), original);
    }
}

TEST(SavedMessageFile, TheHandWrittenFixtureLoadsWithEveryField) {
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(KESTRO_TEST_DATA "/store/lunch_friday.kto", bytes));
    bool loaded = false;
    auto m = Parse(bytes, &loaded);
    EXPECT_TRUE(loaded);
    EXPECT_STREQ(m->to, "bo@example.org cy@example.net");
    EXPECT_STREQ(m->cc, "dee@example.com");
    EXPECT_STREQ(m->bcc, "");
    EXPECT_STREQ(m->subject, "Lunch: Friday?  Bring the maps");
    EXPECT_EQ(m->htmlFormatting, 1);
    ASSERT_EQ(m->attachmentCount, 2);
    EXPECT_STREQ(m->attachmentPaths[0],
                 "C:\\Program Files\\Kestro\\save\\Dec062026-1217AM-56\\voice.mp3");
    EXPECT_STREQ(m->attachmentPaths[1],
                 "C:\\Program Files\\Kestro\\save\\Dec062026-1217AM-56\\snap shot.jpg");
    EXPECT_TRUE(m->hasBody);
    EXPECT_EQ(m->bodyRtf, kEditorRtf);

    // The writer produces the same bytes for the message the fixture holds.
    MessagePtr message = LunchMessage();
    EXPECT_EQ(FormatSavedMessageFile(*message, Settings(), kFolder, kDate, kEditorRtf.data(),
                                     kEditorRtf.size()),
              bytes);
}

TEST(SavedMessageFile, LoadKeepsOnlyWhatEachLineMayHold) {
    auto m = Parse("FROMemailx@y.z\r\nTO2\r\n  ann@ex.com \t\r\nbo@ex\xe9.org\r\n"
                   "TO1\r\ncy@ex.net\r\nCC1\r\n\r\nBCC1\r\nbcc@ex.com\r\n"
                   "SUBJECT  two  blanks\t\xe9tab  \r\nFLAGTEXT=1\r\nFLAGHTML=0\r\n"
                   "ATTACHMENTS3\r\nc:\\a b\\one.wav\r\nc:\\caf\xe9\\two.wav\r\n\r\n");
    // Address lines lose blanks and control characters but keep the accented bytes of the
    // Western code page; a later TO section adds to the field; an empty address line adds
    // nothing.
    EXPECT_STREQ(m->to, "ann@ex.com bo@ex\xe9.org cy@ex.net");
    EXPECT_STREQ(m->cc, "");
    EXPECT_STREQ(m->bcc, "bcc@ex.com");
    EXPECT_STREQ(m->subject, "  two  blanks\xe9tab  ");
    EXPECT_EQ(m->htmlFormatting, 0);
    ASSERT_EQ(m->attachmentCount, 2);
    EXPECT_STREQ(m->attachmentPaths[0], "c:\\a b\\one.wav");
    EXPECT_STREQ(m->attachmentPaths[1], "c:\\caf\xe9\\two.wav");
    EXPECT_FALSE(m->hasBody);
    // A path is still cut at its first control character.
    EXPECT_STREQ(Parse("ATTACHMENTS1\r\nc:\\caf\xe9\\a\tb.wav\r\n")->attachmentPaths[0],
                 "c:\\caf\xe9\\a");

    EXPECT_EQ(Parse("FLAGHTML=1\n")->htmlFormatting, 1);
    EXPECT_EQ(Parse("FLAGHTML= 01\n")->htmlFormatting, 1);
    EXPECT_EQ(Parse("FLAGHTML=2\n")->htmlFormatting, 0);
    EXPECT_EQ(Parse("FLAGHTML1\n")->htmlFormatting, 0);
    // Keys are compared from the line's start, case-sensitively.
    EXPECT_STREQ(Parse("subjectlow\r\n SUBJECTx\r\nSUBJECTyes")->subject, "yes");
}

TEST(SavedMessageFile, BodyTakesTheRestOfTheFileWhateverItHolds) {
    std::string tail = "{\\rtf1 TO1\r\r\nSUBJECTno\r\r\n";
    tail += '\0';
    tail += "\xff}";
    auto m = Parse("TO1\r\na@b.cd\r\nBODY\r\n" + tail);
    EXPECT_TRUE(m->hasBody);
    std::string rtf = "{\\rtf1 TO1\r\nSUBJECTno\r\n";
    rtf += '\0';
    rtf += "\xff}";
    EXPECT_EQ(m->bodyRtf, rtf);
    EXPECT_STREQ(m->subject, "");

    auto empty = Parse("BODY");
    EXPECT_TRUE(empty->hasBody);
    EXPECT_EQ(empty->bodyRtf, "");
}

TEST(SavedMessageFile, ASavedMessageLoadsBackTheSame) {
    MessagePtr message = LunchMessage();
    ParseRecipients("x1@ex.com x2@ex.com x3@ex.com", message->bcc);
    const std::string rtf = "{\\rtf1\r\n\\par\n}\r\n";
    const std::string file =
        FormatSavedMessageFile(*message, Settings(), kFolder, kDate, rtf.data(), rtf.size());
    auto m = Parse(file);
    EXPECT_STREQ(m->to, "bo@example.org cy@example.net");
    EXPECT_STREQ(m->cc, "dee@example.com");
    EXPECT_STREQ(m->bcc, "x1@ex.com x2@ex.com x3@ex.com");
    EXPECT_STREQ(m->subject, message->subject);
    EXPECT_EQ(m->htmlFormatting, 1);
    EXPECT_EQ(m->attachmentCount, 2);
    EXPECT_EQ(m->bodyRtf, rtf);
}

TEST(SavedMessageFile, AccentedSubjectAndPathsComeBackWhole) {
    MessagePtr message = NewMessage();
    ParseRecipients("ren\xe9@example.com", message->to);
    std::strcpy(message->subject, "Caf\xe9 cr\xe8me \xe0 midi");
    AddOutgoingAttachment(*message, "c:\\users\\ann\\caf\xe9.wav", 10);
    const std::string file =
        FormatSavedMessageFile(*message, Settings(), kFolder, kDate, "{\\rtf1 x}", 9);
    EXPECT_NE(file.find("\r\nren\xe9@example.com\r\n"), std::string::npos);
    auto m = Parse(file);
    EXPECT_STREQ(m->to, "ren\xe9@example.com");
    EXPECT_STREQ(m->subject, "Caf\xe9 cr\xe8me \xe0 midi");
    ASSERT_EQ(m->attachmentCount, 1);
    EXPECT_EQ(std::string(m->attachmentPaths[0]), std::string(kFolder) + "\\caf\xe9.wav");
}

TEST(SavedMessageFile, ShortMissingAndEmptyFilesLoadWhatTheyHold) {
    bool loaded = true;
    auto empty = Parse("", &loaded);
    EXPECT_FALSE(loaded);
    EXPECT_STREQ(empty->to, "");

    // A count larger than the lines left, a count that is not a number, negative and huge ones.
    auto m = Parse("TO3\r\nann@ex.com\r\n");
    EXPECT_STREQ(m->to, "ann@ex.com");
    EXPECT_STREQ(Parse("TO\r\nann@ex.com\r\nCCx\r\nbo@ex.com")->to, "");
    EXPECT_EQ(Parse("ATTACHMENTS-3\r\nc:\\a.wav\r\n")->attachmentCount, 0);
    EXPECT_EQ(Parse("ATTACHMENTS99999999999999999999\r\nc:\\a.wav")->attachmentCount, 1);
    EXPECT_STREQ(Parse("TO2147483647\r\na@b.cd\r\nc@d.ef")->to, "a@b.cd c@d.ef");
    // The line end itself may be missing, or cut between CR and LF.
    EXPECT_STREQ(Parse("SUBJECTcut\r")->subject, "cut");
    EXPECT_FALSE(Parse("FROMemaila@b.c\r\nTO0\r\nSUBJECTs\r\n")->hasBody);
}

TEST(SavedMessageFile, OverlongLinesAreCutAndTheirRestIsNoLine) {
    // The rest of a line past 4095 characters would start with keys if it were read as lines.
    const std::string subject = "SUBJECT" + std::string(4088, 's') + "BODY TO1";
    auto m = Parse(subject + "\r\nTO1\r\n" + std::string(5000, 'a') + "TO1\r\nok@ex.com\r\n");
    EXPECT_EQ(std::strlen(m->subject), static_cast<size_t>(kSubjectLength - 1));
    EXPECT_FALSE(m->hasBody);
    // The overlong address line is cut to 4095 characters, which still fit the empty field.
    EXPECT_EQ(std::strlen(m->to), static_cast<size_t>(kFieldTextLength - 1));

    // Addresses that no longer fit the field whole are left out, not cut.
    std::string many = "TO200\r\n";
    for (int i = 0; i < 200; ++i) {
        many += std::string(40, static_cast<char>('a' + i % 26)) + "@example.com\r\n";
    }
    auto full = Parse(many);
    const size_t length = std::strlen(full->to);
    EXPECT_LE(length, static_cast<size_t>(kFieldTextLength - 1));
    EXPECT_EQ((length + 1) % 53, 0u);
    EXPECT_EQ(std::string(full->to).substr(length - 12), "@example.com");

    // Attachment paths: one too long to be a path is left out; past 64 the rest are dropped.
    std::string attachments = "ATTACHMENTS70\r\nc:\\" + std::string(1100, 'p') + "\r\n";
    for (int i = 0; i < 69; ++i) {
        attachments += "c:\\save\\file" + std::to_string(i) + ".wav\r\n";
    }
    auto a = Parse(attachments + "FLAGHTML=1\r\n");
    ASSERT_EQ(a->attachmentCount, kMaxAttachments);
    EXPECT_STREQ(a->attachmentPaths[0], "c:\\save\\file0.wav");
    EXPECT_STREQ(a->attachmentPaths[63], "c:\\save\\file63.wav");
    EXPECT_EQ(a->htmlFormatting, 1);
    ExpectSound(*a);
}

TEST(SavedMessageFile, BinaryJunkNeverOverrunsAField) {
    uint32_t seed = 2026;
    const char* keys[] = {"TO", "CC", "BCC", "SUBJECT", "ATTACHMENTS", "FLAGHTML=", "BODY", "\r\n"};
    for (int round = 0; round < 200; ++round) {
        std::string junk;
        const int pieces = 1 + round % 60;
        for (int i = 0; i < pieces; ++i) {
            seed = seed * 1664525u + 1013904223u;
            if ((seed >> 28) < 6) {
                junk += keys[(seed >> 8) % 8];
                junk += std::to_string(static_cast<int>(seed >> 20) - 2000);
            }
            const size_t run = (seed >> 12) % (round % 5 == 0 ? 5000 : 80);
            for (size_t k = 0; k < run; ++k) {
                seed = seed * 1664525u + 1013904223u;
                junk += static_cast<char>(seed >> 24);
            }
        }
        auto m = Parse(junk);
        ExpectSound(*m);
    }
}

TEST(SavedMessageFile, TheReportNamesRecipientSubjectAndDate) {
    EXPECT_EQ(FormatSaveReport("bo@example.org", "Lunch", kDate),
              "Message & all Attachments saved by     \n\nTo recipient:  bo@example.org\n"
              "Subject:  Lunch\nDate:  Dec 06 2026  12:17 AM\n\n"
              "You can load the message with the File -> Load Message command.");
    EXPECT_STREQ(kSaveReportCaption, "File -> Save");
}

} // namespace
