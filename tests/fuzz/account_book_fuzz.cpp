// accbook.ini as the account book opens it: any bytes; what is read is written so that it reads
// back as the same book.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "books/account_book_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string written =
        FormatAccountBook(OpeningAccountList(text, {"Ann", "ann@x.org", "smtp.x.org", ""}));
    if (FormatAccountBook(ParseAccountBook(written)) != written) {
        std::abort();
    }
    return 0;
}
