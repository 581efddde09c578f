// The address book file, addbook.ini: two lines an entry (the name, then the address), CR LF,
// in the list's display order, without header, count or version line.
#pragma once

#include <string>
#include <vector>

constexpr size_t kAddressNameLimit = 254;  // characters a name keeps
constexpr size_t kAddressTextLimit = 4094; // characters an address keeps

struct AddressEntry {
    std::string name; // may be empty
    std::string address;
};

// The entries of the file's text. A name line without an address line after it is dropped.
std::vector<AddressEntry> ParseAddressBook(const std::string& text);

// The file's text; an empty book gives an empty text.
std::string FormatAddressBook(const std::vector<AddressEntry>& entries);
