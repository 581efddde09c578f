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
    EXPECT_EQ(Joined(CollectMapiRecipients("a@x.org", "b@y.net, c@z.com", "d@w.org")),
              "1:a@x.org 2:b@y.net 2:c@z.com 3:d@w.org ");
    const std::vector<MapiRecipient> none = CollectMapiRecipients(
        "< click here to enter recipients >", "< click here to enter carbon copy recipients >",
        "< click here to enter blind carbon copy recipients >");
    EXPECT_TRUE(none.empty());
    const std::vector<MapiRecipient> bccOnly =
        CollectMapiRecipients("Ann <a@x.org>", "", "d@w.org");
    EXPECT_EQ(Joined(bccOnly), "3:d@w.org ");
    EXPECT_FALSE(HasMapiToRecipient(bccOnly));
    EXPECT_TRUE(HasMapiToRecipient(CollectMapiRecipients("b@y.net", nullptr, "")));

    // 256 records at most; an address longer than an SMTP list entry takes is kept.
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "u" + std::to_string(i) + "@h.org ";
    }
    const std::string longAddress = std::string(240, 'a') + "@h.org";
    const std::vector<MapiRecipient> records =
        CollectMapiRecipients((longAddress + " " + many).c_str(), many.c_str(), "b@h.org");
    ASSERT_EQ(records.size(), 256u);
    EXPECT_EQ(records[0].address, longAddress);
    EXPECT_EQ(records[201].recipClass, kMapiCc);
    EXPECT_EQ(records[255].address, "u54@h.org");
}

TEST(MapiMessage, TheNoteIsTheUsersTextWithoutSubHeaders) {
    // Plain ASCII, text that goes out quoted-printable, and a line too long for SMTP.
    const std::string texts[] = {"Hello\r\n.dot line\r\n..two dots\r\nend\r\n",
                                 "Caf\xe9 = cost \xff\r\n.dot\r\ntrailing blank \r\n",
                                 std::string(1200, 'x') + "\r\n"};
    for (const std::string& text : texts) {
        OutgoingMessage message = {};
        ASSERT_TRUE(BuildTextPart(message, text.data(), text.size()));
        EXPECT_EQ(MapiNoteText(message.textPart, message.textLength), text);
        ResetOutgoingMessage(message);
    }
    EXPECT_EQ(MapiNoteText("a\r\nb\r\nc\r\nd\r\ne\r\nfg", 17), "fg");
    EXPECT_EQ(MapiNoteText("a\r\n", 3), "");
}

TEST(MapiMessage, FieldTextsSubjectAndFailure) {
    // Addresses that would not fit 4095 characters are left out (the usual texts are checked
    // through the window in tests/wine/simple_mapi_test.cpp).
    const std::vector<MapiRecipient> big = {
        {kMapiTo, std::string(4000, 'a')}, {kMapiTo, std::string(93, 'b')}, {kMapiTo, "c"}};
    EXPECT_EQ(MapiChosenFieldText(big, kMapiTo), "  " + std::string(4000, 'a') + "  c");

    EXPECT_EQ(MapiSubject("< click here to enter subject text >"), "No subject");
    EXPECT_EQ(MapiSubject("Hi"), "Hi");
    const std::string failure = "The mail program could not send the message (MAPI error ";
    EXPECT_EQ(MapiSendFailureText(26), failure + "26: not supported)");
    EXPECT_EQ(MapiSendFailureText(27), failure + "27: unknown error)");
}

} // namespace
