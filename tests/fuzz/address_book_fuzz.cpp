// addbook.ini as the address book reads it: any bytes; what is read is written so that it reads
// back as the same book.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "books/address_book_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string written =
        FormatAddressBook(ParseAddressBook(std::string(reinterpret_cast<const char*>(data), size)));
    if (FormatAddressBook(ParseAddressBook(written)) != written) {
        std::abort();
    }
    return 0;
}
