// addbook.ini as the address book reads it: any bytes, then written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "books/address_book_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<AddressEntry> entries = ParseAddressBook(text);
    for (const AddressEntry& entry : entries) {
        if (entry.name.size() > kAddressNameLimit || entry.address.size() > kAddressTextLimit) {
            std::abort();
        }
    }
    // What was read once is written so that it reads back as the same book.
    const std::string written = FormatAddressBook(entries);
    if (FormatAddressBook(ParseAddressBook(written)) != written) {
        std::abort();
    }
    return 0;
}
