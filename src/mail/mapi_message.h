// What the Simple MAPI path hands to the mail program and takes back from it, in portable
// form: the recipient records collected from the To, Cc and Bcc texts, the note text, the
// subject, the field texts written back from the mail program's address book and the text of
// a failed send.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The recipient classes of Simple MAPI.
constexpr unsigned long kMapiTo = 1;
constexpr unsigned long kMapiCc = 2;
constexpr unsigned long kMapiBcc = 3;

constexpr size_t kMapiRecipientLimit = 256;   // records of one send or address-book call
constexpr size_t kMapiFieldTextLength = 4096; // a field written back: 4095 characters

struct MapiRecipient {
    unsigned long recipClass; // kMapiTo, kMapiCc or kMapiBcc
    std::string address;
};

// The records for the To, Cc and Bcc texts, in this order: each text is cut and checked as for
// the SMTP path (a text equal to its field's placeholder counts as empty), the accepted
// addresses become records of the field's class, and collecting stops at 256 records.
std::vector<MapiRecipient> CollectMapiRecipients(const char* to, const char* cc, const char* bcc);

// True when one of the records is of the To class.
bool HasMapiToRecipient(const std::vector<MapiRecipient>& recipients);

// The subject handed over: "No subject" for the Subject field's placeholder, else the text.
std::string MapiSubject(const std::string& subjectField);

// The note text from a text part of the outgoing message: its MIME sub-headers (everything up
// to and including the tenth CR or LF) are left out, the doubled line-leading dots are single
// again and a quoted-printable body is decoded, so that the mail program gets the text the user
// wrote; the plain trailer text follows.
std::string MapiNoteText(const char* textPart, size_t length);

// The text that replaces a field after the mail program's address book: two blanks and the
// address for every returned recipient of the class whose address is not empty. Addresses that
// would not fit 4095 characters are left out. Empty when none was returned.
std::string MapiChosenFieldText(const std::vector<MapiRecipient>& chosen, unsigned long recipClass);

// "The mail program could not send the message (MAPI error 2: failure)".
std::string MapiSendFailureText(unsigned long code);
