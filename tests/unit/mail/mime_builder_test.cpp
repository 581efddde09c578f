#include "mail/body_parts.h"
#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"

#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

const std::string kMainLine = "\r\n--kestr1_140899_BounDAry_9903\r\n";
const std::string kAlt = "kestr1_140899_bOUNdaRY_9903_alt";
const std::string kPlainHeaders =
    kMainLine + "Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";

struct MessageFree {
    void operator()(OutgoingMessage* message) const {
        ResetOutgoingMessage(*message);
        delete message;
    }
};
using MessagePtr = std::unique_ptr<OutgoingMessage, MessageFree>;

MessagePtr NewMessage() {
    return MessagePtr(new OutgoingMessage());
}

ProgramSettings Settings(const char* replyTo) {
    ProgramSettings settings = {};
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.org");
    CopyField(settings.replyTo, replyTo);
    return settings;
}

std::string Header(const ProgramSettings& settings, const OutgoingMessage& message) {
    char block[kHeaderBlockSize];
    const size_t length =
        BuildHeaderBlock(settings, message, "Tue, 05 Mar 24 09:07:03 CET", block, sizeof block);
    return std::string(block, length);
}

TEST(MimeBuilder, HeaderBlock) {
    MessagePtr message = NewMessage();
    ParseRecipients("bob@example.net, cy@example.com", message->to);
    ParseRecipients("dee@example.org", message->cc);
    ParseRecipients("secret@example.org", message->bcc);
    CopyField(message->subject, kSubjectLength, "Voice mail");
    EXPECT_EQ(Header(Settings("reply@example.org"), *message),
              "Reply-To: \"Ann Lee\" <reply@example.org>\r\n"
              "From: \"Ann Lee\" <ann@example.org>\r\n"
              "To: <bob@example.net>, <cy@example.com>\r\n"
              "Cc: <dee@example.org>\r\n"
              "Date: Tue, 05 Mar 24 09:07:03 CET\r\n"
              "Subject: Voice mail\r\n"
              "X-mailer: Kestro\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=\"kestr1_140899_BounDAry_9903\"\r\n"
              "\r\nmultipart message in MIME format\r\n");

    // No Reply-To or Cc line without their values; no To line (an empty line would end the
    // headers) without an address.
    std::memset(&message->to, 0, sizeof message->to);
    std::memset(&message->cc, 0, sizeof message->cc);
    EXPECT_EQ(Header(Settings(""), *message).substr(0, 39),
              "From: \"Ann Lee\" <ann@example.org>\r\nDate");
}

TEST(MimeBuilder, LongestHeaderBlockFitsAndSmallBuffersAreNotOverrun) {
    MessagePtr message = NewMessage();
    for (int i = 0; i < kRecipientCount; ++i) {
        const std::string address = std::string(55, 'u') + std::to_string(100 + i) + "@x.org";
        std::memcpy(message->to.entries[i], address.data(), address.size()); // 63 characters
        std::memcpy(message->cc.entries[i], address.data(), address.size());
    }
    std::memset(message->subject, 's', kSubjectLength - 1);
    ProgramSettings settings = Settings("");
    std::memset(settings.userName, 'n', kNameLength - 1);
    std::memset(settings.mailFrom, 'm', kNameLength - 1);
    std::memset(settings.replyTo, 'r', kNameLength - 1);
    const std::string date(kDateTextSize - 1, 'd');

    char block[kHeaderBlockSize];
    const std::string text(block,
                           BuildHeaderBlock(settings, *message, date.c_str(), block, sizeof block));
    EXPECT_EQ(text.substr(text.size() - 36), "\r\nmultipart message in MIME format\r\n");
    char small[100];
    EXPECT_EQ(BuildHeaderBlock(settings, *message, date.c_str(), small, sizeof small), 99u);
    EXPECT_EQ(std::string(small), text.substr(0, 99));
}

TEST(MimeBuilder, ContentTypeBySubstringInTableOrder) {
    EXPECT_STREQ(LookupContentType("C:\\kestro\\voice.wav"), "audio/wav");
    EXPECT_STREQ(LookupContentType("C:\\kestro\\VOICE.WAV"), "application/octet-stream");
    EXPECT_STREQ(LookupContentType("C:\\clips.avi\\notes.txt"), "video/avi");
    EXPECT_STREQ(LookupContentType("C:\\radio\\show.ram"), "audio/x-pn-realaudio");
    EXPECT_STREQ(LookupContentType("D:\\a\\film.m1v"), "video/mpeg");
    EXPECT_STREQ(LookupContentType("D:\\a\\page.html"), "text/html");
}

TEST(MimeBuilder, AttachmentHeaderAndClosingPieces) {
    char header[kAttachmentHeaderSize];
    const size_t length = BuildAttachmentHeader("C:\\kestro\\voice1.wav", header, sizeof header);
    EXPECT_EQ(std::string(header, length),
              kMainLine + "Content-Type: audio/wav; name=\"voice1.wav\"\r\n"
                          "Content-Transfer-Encoding: base64\r\n"
                          "Content-Disposition: attachment;\r\n\tfilename=\"voice1.wav\"\r\n\r\n");
    // The longest path of the snapshot still fits, with its name twice.
    const std::string path = "C:\\" + std::string(kAttachmentPathLength - 4, 'f');
    const size_t longLength = BuildAttachmentHeader(path.c_str(), header, sizeof header);
    EXPECT_EQ(std::string(header, longLength).substr(longLength - 6), "f\"\r\n\r\n");

    char piece[64];
    EXPECT_EQ(std::string(piece, BuildAlternativeEnd(piece, sizeof piece)),
              "\r\n--" + kAlt + "--\r\n");
    EXPECT_EQ(std::string(piece, BuildEndOfData(piece, sizeof piece)),
              "\r\n--kestr1_140899_BounDAry_9903--\r\n\r\n.\r\n");
}

TEST(BodyParts, TextPartWithEditorLinesAndDotLines) {
    std::string text;
    AppendEditorLine(text, "Hello\r\n", 7);
    AppendEditorLine(text, "wrapped", 7);
    AppendEditorLine(text, "", 0);
    AppendEditorLine(text, ".\r", 2);
    text += ".hidden\r\nkeep.\r\n..";
    EXPECT_EQ(text, "Hello\r\nwrapped\n.\r\n.hidden\r\nkeep.\r\n..");

    MessagePtr message = NewMessage();
    ASSERT_TRUE(BuildTextPart(*message, text.data(), text.size()));
    ASSERT_TRUE(message->textReady);
    // A leading dot is doubled; the server takes it off again.
    EXPECT_EQ(std::string(message->textPart, message->textLength),
              kPlainHeaders + "Hello\r\nwrapped\n..\r\n..hidden\r\nkeep.\r\n...");
    ASSERT_TRUE(BuildTextPart(*message, "", 0));
    EXPECT_FALSE(message->textReady);
}

TEST(BodyParts, AlternativePartsAndTheFallBackWithoutHtml) {
    MessagePtr message = NewMessage();
    message->alternative = 1;
    ASSERT_TRUE(BuildTextPart(*message, "Hi\r\n", 4));
    const std::string alternativeHeaders =
        kMainLine + "Content-Type: multipart/alternative;\r\n\tboundary=\"" + kAlt +
        "\"\r\n\r\n\r\n--" + kAlt +
        "\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
    EXPECT_EQ(std::string(message->textPart, message->textLength), alternativeHeaders + "Hi\r\n");
    ASSERT_TRUE(BuildHtmlPart(*message, "<HTML>\n.\n</HTML>\n"));
    EXPECT_EQ(std::string(message->htmlPart, message->htmlLength),
              "\r\n\r\n--" + kAlt +
                  "\r\nContent-Type: text/html\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
                  "<HTML>\n..\n</HTML>\n");

    // A failed conversion: no HTML part, and the text part no longer opens the container.
    ASSERT_TRUE(BuildHtmlPart(*message, nullptr));
    EXPECT_FALSE(message->htmlReady);
    EXPECT_EQ(std::string(message->textPart, message->textLength), kPlainHeaders + "Hi\r\n");
}

TEST(OutgoingMessage, ResetFreesBlocksAndClearsEverything) {
    MessagePtr message = NewMessage();
    message->cancelRequested = 1;
    ASSERT_TRUE(AppendRtfChunk(*message, "{\\rtf1", 6));
    ASSERT_TRUE(AppendRtfChunk(*message, "\\ansi}", 6));
    EXPECT_EQ(std::string(message->rtfStream), "{\\rtf1\\ansi}");
    ASSERT_TRUE(BuildTextPart(*message, "x", 1));
    ASSERT_TRUE(BuildHtmlPart(*message, "<HTML>"));
    for (int i = 0; i < kMaxAttachments; ++i) {
        ASSERT_TRUE(AddOutgoingAttachment(*message, "C:\\a.wav", 0x7FFFFFFF));
    }
    EXPECT_FALSE(AddOutgoingAttachment(*message, "C:\\b.wav", 1));
    EXPECT_EQ(message->attachmentBytes, 0xFFFFFFFFu); // the estimate's total saturates

    ResetOutgoingMessage(*message);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(message.get());
    EXPECT_EQ(static_cast<size_t>(std::count(bytes, bytes + sizeof(OutgoingMessage), 0)),
              sizeof(OutgoingMessage));
}

} // namespace
