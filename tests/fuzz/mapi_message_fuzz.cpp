// What the Simple MAPI path makes of the field texts and the text part: any To, Cc and Bcc texts
// and any text part (four NUL-separated texts). The recipient records stay within their count,
// come in field order with an address each, and the field text written back from them stays
// within its field; the note text never grows beyond the part and the trailer.
#include "fuzz_support.h"

#include "mail/mapi_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> texts = FuzzTexts(data, size, 4);
    const std::vector<MapiRecipient> recipients =
        CollectMapiRecipients(texts[0].c_str(), texts[1].c_str(), texts[2].c_str());
    FUZZ_CHECK(recipients.size() <= kMapiRecipientLimit);
    unsigned long previous = kMapiTo;
    for (const MapiRecipient& recipient : recipients) {
        FUZZ_CHECK(recipient.recipClass >= previous && recipient.recipClass <= kMapiBcc);
        FUZZ_CHECK(!recipient.address.empty());
        previous = recipient.recipClass;
    }
    FUZZ_CHECK(HasMapiToRecipient(recipients) ==
               (!recipients.empty() && recipients[0].recipClass == kMapiTo));
    for (unsigned long recipClass : {kMapiTo, kMapiCc, kMapiBcc}) {
        FUZZ_CHECK(MapiChosenFieldText(recipients, recipClass).size() < kMapiFieldTextLength);
    }

    const std::string& part = texts[3];
    const std::string empty = MapiNoteText("", 0);
    const std::string note = MapiNoteText(part.data(), part.size());
    FUZZ_CHECK(note.size() <= part.size() + empty.size());
    FUZZ_CHECK(note.compare(note.size() - empty.size(), empty.size(), empty) == 0);
    return 0;
}
