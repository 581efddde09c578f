// Recipient lists: the To, Cc and Bcc field texts cut into bare addresses, each checked for a
// plausible shape and kept in a fixed list of 64 entries.
#pragma once

#include <cstddef>
#include <functional>

constexpr int kRecipientCount = 64;         // addresses per list
constexpr int kRecipientLength = 64;        // an entry: 63 characters and the terminator
constexpr int kRecipientTokenLength = 256;  // the token buffer: 255 characters and the terminator
constexpr int kRecipientFieldLength = 4096; // a field is read with this buffer: 4095 characters

// One address per entry; empty entries are all zero and the first empty entry ends the list.
struct RecipientList {
    char entries[kRecipientCount][kRecipientLength];
};

enum class RecipientField { To, Cc, Bcc };

// The text an empty composer field shows, such as "< click here to enter recipients >".
const char* RecipientPlaceholder(RecipientField field);

// True for a token of at least 5 characters without '<' or '>', with an at sign after the first
// character, a '.' somewhere after that at sign and at least one character after that '.'.
bool IsValidAddress(const char* token);

// Takes an accepted address (token, length) and says whether the scan goes on.
using RecipientSink = std::function<bool(const char* token, size_t length)>;

// Cuts the text into addresses: blank, ';' and ',' separate, and runs of separators give no
// empty address. Every token that passes IsValidAddress and is shorter than maxLength characters
// (and than the 256-byte token buffer) goes to accept, in order of appearance, until accept says
// stop. Only the first 4095 characters are looked at.
void ScanRecipients(const char* text, size_t maxLength, const RecipientSink& accept);

// Zero-fills the list and stores every accepted address of the text in order of appearance.
// Blank, ';' and ',' separate; runs of separators give no empty address. Tokens that fail
// IsValidAddress, or do not fit an entry (64 characters or more), are dropped. Only the first
// 4095 characters are looked at, and the scan stops when the list is full. Returns the number of
// addresses stored, 0 to 64.
int ParseRecipients(const char* text, RecipientList& list);

// ParseRecipients for a composer field: a text equal to the field's placeholder counts as empty.
int ParseRecipientField(RecipientField field, const char* text, RecipientList& list);
