// addbook.ini as the address book reads it: any bytes. Every entry read keeps its fields within
// their limits, and what is read is written so that it reads back as the same book.
#include "fuzz_support.h"

#include "books/address_book_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<AddressEntry> book =
        ParseAddressBook(std::string(reinterpret_cast<const char*>(data), size));
    for (const AddressEntry& entry : book) {
        FUZZ_CHECK(entry.name.size() <= kAddressNameLimit);
        FUZZ_CHECK(entry.address.size() <= kAddressTextLimit);
    }
    const std::string written = FormatAddressBook(book);
    FUZZ_CHECK(FormatAddressBook(ParseAddressBook(written)) == written);
    return 0;
}
