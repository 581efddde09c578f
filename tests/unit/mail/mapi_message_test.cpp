#include "mail/mapi_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/body_parts.h"
#include "mail/outgoing_message.h"

namespace {

std::string Joined(const std::vector<MapiRecipient>& recipients) {
    std::string joined;
    for (const MapiRecipient& r : recipients) {
        joined += std::to_string(r.recipClass) + ":" + r.address + " ";
    }
    return joined;
}

TEST(MapiMessage, CollectsToCcAndBccInOrderSkippingPlaceholders) {
    const struct {
        const char* to;
        const char* cc;
        const char* bcc;
        const char* records;
    } cases[] = {
        {"a@x.org", "b@y.net, c@z.com", "d@w.org", "1:a@x.org 2:b@y.net 2:c@z.com 3:d@w.org "},
        {"< click here to enter recipients >", "< click here to enter carbon copy recipients >",
         "< click here to enter blind carbon copy recipients >", ""},
        {"Ann <a@x.org>; junk", "", "d@w.org", "3:d@w.org "},
        {"", nullptr, "d@w.org", "3:d@w.org "},
    };
    for (const auto& c : cases) {
        const std::vector<MapiRecipient> records = CollectMapiRecipients(c.to, c.cc, c.bcc);
        EXPECT_EQ(Joined(records), c.records) << c.to;
        EXPECT_EQ(HasMapiToRecipient(records), c.records[0] == '1');
    }
}

TEST(MapiMessage, CollectingStopsAt256Records) {
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "u" + std::to_string(i) + "@h.org ";
    }
    const std::string longAddress = std::string(240, 'a') + "@h.org";
    const std::vector<MapiRecipient> records =
        CollectMapiRecipients((longAddress + " " + many).c_str(), many.c_str(), "b@h.org");
    ASSERT_EQ(records.size(), 256u);
    EXPECT_EQ(records[0].address, longAddress); // longer than an SMTP list entry takes
    EXPECT_EQ(records[200].recipClass, kMapiTo);
    EXPECT_EQ(records[201].address, "u0@h.org");
    EXPECT_EQ(records[255].recipClass, kMapiCc);
    EXPECT_EQ(records[255].address, "u54@h.org");
}

// The note text of the text part the send preparation builds from the editor's text.
std::string NoteOf(const std::string& text) {
    OutgoingMessage message = {};
    EXPECT_TRUE(BuildTextPart(message, text.data(), text.size()));
    const std::string note = MapiNoteText(message.textPart, message.textLength);
    ResetOutgoingMessage(message);
    return note;
}

TEST(MapiMessage, TheNoteIsTheUsersTextWithoutSubHeaders) {
    const std::string longLine(1200, 'x');
    const std::string texts[] = {
        "Hello\r\n.dot line\r\n..two dots\r\nend\r\n",
        "Caf\xe9 = cost \xff\r\n.dot\r\ntrailing blank \r\n",
        longLine + "\r\n",
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(NoteOf(text), text);
    }
    EXPECT_EQ(MapiNoteText("a\r\nb\r\nc\r\nd\r\ne\r\nfg", 17), "fg");
    EXPECT_EQ(MapiNoteText("a\r\n", 3), "");
}

TEST(MapiMessage, ChosenRecipientsWriteBackWithTwoBlanksEach) {
    const std::vector<MapiRecipient> chosen = {
        {kMapiTo, "a@x"}, {kMapiCc, "c@z"}, {kMapiTo, ""}, {kMapiTo, "b@y"}};
    EXPECT_EQ(MapiChosenFieldText(chosen, kMapiTo), "  a@x  b@y");
    EXPECT_EQ(MapiChosenFieldText(chosen, kMapiCc), "  c@z");
    EXPECT_EQ(MapiChosenFieldText(chosen, kMapiBcc), "");
    const std::vector<MapiRecipient> big = {
        {kMapiTo, std::string(4000, 'a')}, {kMapiTo, std::string(93, 'b')}, {kMapiTo, "c"}};
    EXPECT_EQ(MapiChosenFieldText(big, kMapiTo), "  " + std::string(4000, 'a') + "  c");
}

TEST(MapiMessage, SubjectAndFailureTexts) {
    EXPECT_EQ(MapiSubject("< click here to enter subject text >"), "No subject");
    EXPECT_EQ(MapiSubject("Hi"), "Hi");
    EXPECT_EQ(MapiSendFailureText(2),
              "The mail program could not send the message (MAPI error 2: failure)");
    EXPECT_EQ(MapiSendFailureText(26),
              "The mail program could not send the message (MAPI error 26: not supported)");
    EXPECT_EQ(MapiSendFailureText(27),
              "The mail program could not send the message (MAPI error 27: unknown error)");
}

} // namespace
