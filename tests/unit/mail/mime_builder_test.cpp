#include "mail/body_parts.h"
#include "mail/mail_encoding.h"
#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"

#include "base/program_settings.h"

#include <gtest/gtest.h>

#include "support/message_ptr.h"

#include "support/mail_decoding.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

const std::string kMainLine = "\r\n--kestr1_140899_BounDAry_9903\r\n";
const std::string kAlt = "kestr1_140899_bOUNdaRY_9903_alt";
const std::string kPlainHeaders =
    kMainLine + "Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";

ProgramSettings Settings(const char* replyTo) {
    ProgramSettings settings = {};
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.org");
    CopyField(settings.replyTo, replyTo);
    return settings;
}

std::string Header(const ProgramSettings& settings, const OutgoingMessage& message) {
    char block[kHeaderBlockSize];
    const size_t length = BuildHeaderBlock(settings, message, "Tue, 05 Mar 2024 09:07:03 +0100",
                                           "<1709625423.4242.7@example.org>", block, sizeof block);
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
              "Date: Tue, 05 Mar 2024 09:07:03 +0100\r\n"
              "Message-ID: <1709625423.4242.7@example.org>\r\n"
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
    const std::string id(kMessageIdSize - 1, 'i');

    char block[kHeaderBlockSize];
    const std::string text(
        block, BuildHeaderBlock(settings, *message, date.c_str(), id.c_str(), block, sizeof block));
    EXPECT_EQ(text.substr(text.size() - 36), "\r\nmultipart message in MIME format\r\n");
    char small[100];
    EXPECT_EQ(BuildHeaderBlock(settings, *message, date.c_str(), id.c_str(), small, sizeof small),
              99u);
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
    AppendEditorLine(text, "bare\n", 5);
    text += ".hidden\r\nkeep.\r\n..";
    EXPECT_EQ(text, "Hello\r\nwrapped\r\n.\r\nbare\r\n.hidden\r\nkeep.\r\n..");

    MessagePtr message = NewMessage();
    ASSERT_TRUE(BuildTextPart(*message, text.data(), text.size()));
    ASSERT_TRUE(message->textReady);
    // A leading dot is doubled; the server takes it off again.
    EXPECT_EQ(std::string(message->textPart, message->textLength),
              kPlainHeaders + "Hello\r\nwrapped\r\n..\r\nbare\r\n..hidden\r\nkeep.\r\n...");
    // Bare LF and bare CR line ends put into the text another way still go out as CR LF.
    ASSERT_TRUE(BuildTextPart(*message, "a\nb\rc\r\n.d", 9));
    EXPECT_EQ(std::string(message->textPart, message->textLength),
              kPlainHeaders + "a\r\nb\r\nc\r\n..d");
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
                  "<HTML>\r\n..\r\n</HTML>\r\n");

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

TEST(MimeBuilder, DateWithEnglishNamesAndTheOffsetFromUtc) {
    char date[kDateTextSize];
    FormatMailDate({2026, 12, 6, 0, 12, 17, 56}, 60, date, sizeof date);
    EXPECT_STREQ(date, "Sun, 06 Dec 2026 12:17:56 +0100");
    FormatMailDate({2025, 1, 31, 5, 0, 0, 0}, -330, date, sizeof date);
    EXPECT_STREQ(date, "Fri, 31 Jan 2025 00:00:00 -0530");
    FormatMailDate({2024, 3, 5, 2, 9, 7, 3}, 0, date, sizeof date);
    EXPECT_STREQ(date, "Tue, 05 Mar 2024 09:07:03 +0000");
    FormatMailDate({2024, 13, 5, 2, 9, 7, 3}, 0, date, sizeof date);
    EXPECT_STREQ(date, "");
    char small[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    FormatMailDate({2026, 12, 6, 0, 12, 17, 56}, 60, small, 5);
    EXPECT_EQ(std::string(small, 8), std::string("Sun,\0xxx", 8));
}

TEST(MimeBuilder, MessageIdTakesTheSendersDomain) {
    char id[kMessageIdSize];
    FormatMessageId(1796555876, 4242, 3, "ann@example.org", id, sizeof id);
    EXPECT_STREQ(id, "<1796555876.4242.3@example.org>");
    FormatMessageId(0x1FFFFFFFFull, 0xFFFFFFFFu, 0, "odd@name@mail.example.net", id, sizeof id);
    EXPECT_STREQ(id, "<8589934591.4294967295.0@mail.example.net>");
    FormatMessageId(1, 2, 3, "nobody", id, sizeof id);
    EXPECT_STREQ(id, "<1.2.3@localhost>");
    FormatMessageId(1, 2, 3, "ann@example.org", id, 10);
    EXPECT_STREQ(id, "<1.2.3@ex");
}

// Undoes a run of encoded words separated by folding; fails the test on anything else.
std::string DecodeHeaderWords(const std::string& text) {
    const std::string opening = "=?windows-1252?Q?";
    std::string encoded;
    for (size_t at = 0; at < text.size();) {
        if (at > 0) {
            EXPECT_EQ(text.compare(at, 3, "\r\n "), 0) << text;
            at += 3;
        }
        EXPECT_EQ(text.compare(at, opening.size(), opening), 0) << text;
        const size_t end = text.find("?=", at + opening.size());
        EXPECT_NE(end, std::string::npos) << text;
        EXPECT_LE(end + 2 - at, kEncodedWordLength);
        encoded += text.substr(at + opening.size(), end - at - opening.size());
        at = end + 2;
    }
    std::replace(encoded.begin(), encoded.end(), '_', ' ');
    return DecodeQuotedPrintable(encoded);
}

size_t LongestLine(const std::string& text) {
    size_t longest = 0;
    for (size_t start = 0, end; start <= text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end;
        longest = std::max(longest, end - start);
    }
    return longest;
}

TEST(MailEncoding, QuotedPrintableLinesAndBytes) {
    const std::string text = "Caf\xE9 = ok \r\n" + std::string(100, 'x') + "\r\n" +
                             std::string(76, 'y') + "\r\n" + std::string(74, 'z') +
                             "\xE9\r\nbell\a\r\nend\t";
    const std::string encoded = EncodeQuotedPrintable(text.data(), text.size());
    EXPECT_EQ(encoded, "Caf=E9 =3D ok=20\r\n" + std::string(75, 'x') + "=\r\n" +
                           std::string(25, 'x') + "\r\n" + std::string(76, 'y') + "\r\n" +
                           std::string(74, 'z') + "=\r\n=E9\r\nbell=07\r\nend=09");
    EXPECT_EQ(LongestLine(encoded), 76u);
    EXPECT_EQ(DecodeQuotedPrintable(encoded), text);
    EXPECT_EQ(WithCrLfLineEnds("a\nb\rc\r\n\n", 8), "a\r\nb\r\nc\r\n\r\n");
}

TEST(MailEncoding, EncodedWordsAreSplitToKeepLinesShort) {
    char words[kSubjectLength * 5];
    EncodeHeaderWords("Caf\xE9 au lait!", words, sizeof words);
    EXPECT_STREQ(words, "=?windows-1252?Q?Caf=E9_au_lait!?=");

    // 1023 characters, most of them three bytes long once encoded: many short words, one
    // byte never split across two.
    std::string subject;
    for (int i = 0; i < kSubjectLength - 1; ++i) {
        subject += i % 3 == 0 ? 'a' : i % 3 == 1 ? '\xE9' : '?';
    }
    const size_t length = EncodeHeaderWords(subject.c_str(), words, sizeof words);
    const std::string all(words, length);
    EXPECT_EQ(DecodeHeaderWords(all), subject);
    EXPECT_LE(LongestLine("Subject: " + all), 75u);

    // A buffer too small is cut at a whole word and stays terminated.
    char small[70];
    const size_t cut = EncodeHeaderWords(subject.c_str(), small, sizeof small);
    EXPECT_EQ(cut, std::strlen(small));
    EXPECT_EQ(std::string(small), all.substr(0, cut));
    EXPECT_EQ(std::string(small).substr(cut - 2), "?=");
}

TEST(MimeBuilder, NonAsciiNamesAndSubjectBecomeEncodedWords) {
    MessagePtr message = NewMessage();
    ParseRecipients("bob@example.net", message->to);
    CopyField(message->subject, kSubjectLength, "Caf\xE9 au lait");
    ProgramSettings settings = Settings("reply@example.org");
    CopyField(settings.userName, "Jos\xE9 N\xFA\xF1\x65z");
    EXPECT_EQ(Header(settings, *message),
              "Reply-To: =?windows-1252?Q?Jos=E9_N=FA=F1ez?= <reply@example.org>\r\n"
              "From: =?windows-1252?Q?Jos=E9_N=FA=F1ez?= <ann@example.org>\r\n"
              "To: <bob@example.net>\r\n"
              "Date: Tue, 05 Mar 2024 09:07:03 +0100\r\n"
              "Message-ID: <1709625423.4242.7@example.org>\r\n"
              "Subject: =?windows-1252?Q?Caf=E9_au_lait?=\r\n"
              "X-mailer: Kestro\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=\"kestr1_140899_BounDAry_9903\"\r\n"
              "\r\nmultipart message in MIME format\r\n");

    // A long name: the address goes on a line of its own rather than past column 76.
    CopyField(settings.userName, ("\xE9" + std::string(30, 'n')).c_str());
    const std::string header = Header(settings, *message);
    EXPECT_NE(header.find("nnn?=\r\n <reply@example.org>\r\nFrom: "), std::string::npos) << header;
    EXPECT_NE(header.find("nnn?= <ann@example.org>\r\n"), std::string::npos) << header;
    EXPECT_LE(LongestLine(header.substr(0, header.find("\r\nTo:"))), 76u);

    char part[kAttachmentHeaderSize];
    const size_t length = BuildAttachmentHeader("C:\\Voix\\r\xE9sum\xE9.wav", part, sizeof part);
    EXPECT_EQ(std::string(part, length),
              kMainLine +
                  "Content-Type: audio/wav;\r\n\tname=\"=?windows-1252?Q?r=E9sum=E9=2Ewav?=\"\r\n"
                  "Content-Transfer-Encoding: base64\r\n"
                  "Content-Disposition: attachment;\r\n"
                  "\tfilename=\"=?windows-1252?Q?r=E9sum=E9=2Ewav?=\"\r\n\r\n");
    // The longest name still fits, twice, on short lines.
    const std::string path = "C:\\" + std::string(kAttachmentPathLength - 4, '\xE9');
    const std::string longest(part, BuildAttachmentHeader(path.c_str(), part, sizeof part));
    EXPECT_EQ(longest.substr(longest.size() - 7), "?=\"\r\n\r\n");
    EXPECT_LE(LongestLine(longest), 76u);
}

TEST(BodyParts, NonAsciiPartsGoQuotedPrintableInWindows1252) {
    MessagePtr message = NewMessage();
    message->alternative = 1;
    const std::string text = "Caf\xE9\n.x = y\r\n";
    ASSERT_TRUE(BuildTextPart(*message, text.data(), text.size()));
    const std::string encodedLines = "Content-Type: text/plain; charset=windows-1252\r\n"
                                     "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    EXPECT_EQ(std::string(message->textPart, message->textLength),
              kMainLine + "Content-Type: multipart/alternative;\r\n\tboundary=\"" + kAlt +
                  "\"\r\n\r\n\r\n--" + kAlt + "\r\n" + encodedLines + "Caf=E9\r\n..x =3D y\r\n");
    ASSERT_TRUE(BuildHtmlPart(*message, "<P>\xE9t\xE9</P>\n"));
    EXPECT_EQ(std::string(message->htmlPart, message->htmlLength),
              "\r\n\r\n--" + kAlt +
                  "\r\nContent-Type: text/html; charset=windows-1252\r\n"
                  "Content-Transfer-Encoding: quoted-printable\r\n\r\n<P>=E9t=E9</P>\r\n");
    ASSERT_TRUE(BuildHtmlPart(*message, ""));
    EXPECT_EQ(std::string(message->textPart, message->textLength),
              kMainLine + encodedLines + "Caf=E9\r\n..x =3D y\r\n");
}

TEST(MailEncoding, LineLengthAsItGoesOut) {
    const std::string limit(kSmtpLineLimit, 'x');
    const std::string dotted = "." + std::string(kSmtpLineLimit - 1, 'x');
    for (const std::string& fits : {limit, "a\r\n" + limit + "\r\nb", "a\n" + limit, limit + "\rb",
                                    "." + std::string(kSmtpLineLimit - 2, 'x')}) {
        EXPECT_FALSE(HasLineLongerThan(fits.data(), fits.size(), kSmtpLineLimit)) << fits.size();
    }
    // One octet more, or the dot the sender doubles.
    for (const std::string& over :
         {limit + "x", "a\r\n" + limit + "x\r\n", dotted, "b\n" + dotted}) {
        EXPECT_TRUE(HasLineLongerThan(over.data(), over.size(), kSmtpLineLimit)) << over.size();
    }
}

TEST(BodyParts, LinesLongerThanSmtpCarriesGoQuotedPrintable) {
    // A paragraph of the HTML document is one line; 1500 characters do not fit an SMTP line.
    MessagePtr message = NewMessage();
    message->alternative = 1;
    std::string paragraph;
    while (paragraph.size() < 1500) {
        paragraph += "word & <b>x=1</b> ";
    }
    const std::string html = "<HTML>\n<DIV>" + paragraph + "</DIV>\n.\n</HTML>\n";
    ASSERT_TRUE(BuildHtmlPart(*message, html.c_str()));
    const std::string headers = "\r\n\r\n--" + kAlt +
                                "\r\nContent-Type: text/html; charset=windows-1252\r\n"
                                "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    const std::string part(message->htmlPart, message->htmlLength);
    ASSERT_EQ(part.compare(0, headers.size(), headers), 0) << part.substr(0, 200);
    const std::string body = part.substr(headers.size());
    EXPECT_LE(LongestLine(body), 76u);
    // Taking off the doubled dots (as the server does) and the encoding gives the document.
    std::string unstuffed;
    for (size_t at = 0; at < body.size();) {
        const size_t lineEnd = body.find("\r\n", at);
        const size_t end = lineEnd == std::string::npos ? body.size() : lineEnd + 2;
        const size_t dot = body[at] == '.' ? 1 : 0;
        unstuffed += body.substr(at + dot, end - at - dot);
        at = end;
    }
    EXPECT_EQ(DecodeQuotedPrintable(unstuffed),
              "<HTML>\r\n<DIV>" + paragraph + "</DIV>\r\n.\r\n</HTML>\r\n");

    // A text line of exactly 998 characters still goes as it is; one more needs the encoding.
    const std::string fits = std::string(kSmtpLineLimit, 'a') + "\r\n";
    ASSERT_TRUE(BuildTextPart(*message, fits.data(), fits.size()));
    EXPECT_NE(std::string(message->textPart, message->textLength)
                  .find("Content-Transfer-Encoding: 7bit\r\n\r\n" + fits),
              std::string::npos);
    const std::string over = std::string(kSmtpLineLimit + 1, 'a') + "\r\n";
    ASSERT_TRUE(BuildTextPart(*message, over.data(), over.size()));
    const std::string text(message->textPart, message->textLength);
    EXPECT_NE(text.find("Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
                        std::string(75, 'a') + "=\r\n"),
              std::string::npos)
        << text.substr(0, 300);
    EXPECT_LE(LongestLine(text), 76u);
}

} // namespace
