#include "books/address_book_file.h"

#include "books/book_lines.h"

std::vector<AddressEntry> ParseAddressBook(const std::string& text) {
    std::vector<AddressEntry> entries;
    size_t position = 0;
    AddressEntry entry;
    while (ReadBookLine(text, position, kAddressNameLimit, entry.name) &&
           ReadBookLine(text, position, kAddressTextLimit, entry.address)) {
        entries.push_back(entry);
    }
    return entries;
}

std::string FormatAddressBook(const std::vector<AddressEntry>& entries) {
    std::string text;
    for (const AddressEntry& entry : entries) {
        AppendBookLine(text, entry.name);
        AppendBookLine(text, entry.address);
    }
    return text;
}
