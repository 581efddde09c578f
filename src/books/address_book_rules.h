// The rules of the address book dialog: how the message's To, Cc and Bcc fields become the
// dialog's recipient edits and back, how a chosen entry joins an edit, and the sort order.
#pragma once

#include <string>

#include "books/address_book_file.h"

// The recipient edit's text for a field of the message: empty for the field's placeholder,
// otherwise the text cut into addresses at blanks, ';' and ',' (a run of them counts as one),
// each on a line of its own ended by CR LF.
std::string RecipientEditText(const std::string& fieldText, const char* placeholder);

// Adds a chosen address to a recipient edit's text: a blank after the text there (an empty
// edit becomes a single blank), then the address and CR LF.
void AppendRecipientLine(std::string& editText, const std::string& address);

// On OK: the recipient edit's text with every CR and LF as a blank. True when it is longer
// than 4 characters and so replaces the message's field; a shorter text leaves the field alone.
bool FieldTextFromRecipientEdit(const std::string& editText, std::string& fieldText);

// Column 0 shows the name, column 1 the address.
const std::string& AddressColumnText(const AddressEntry& entry, int column);

// The ascending order of a sort by column 0 (name) or 1 (address), letter case ignored.
int CompareAddressEntries(const AddressEntry& a, const AddressEntry& b, int column);
