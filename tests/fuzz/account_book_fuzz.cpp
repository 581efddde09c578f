// accbook.ini as the account book opens it: any bytes. Every entry read keeps its fields within
// their limits, and what is read is written so that it reads back as the same book.
#include "fuzz_support.h"

#include "books/account_book_file.h"
#include "books/account_book_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const AccountEntry& entry : ParseAccountBook(text)) {
        FUZZ_CHECK(entry.name.size() <= kAccountNameLimit);
        FUZZ_CHECK(entry.address.size() <= kAccountFieldLimit);
        FUZZ_CHECK(entry.server.size() <= kAccountFieldLimit);
        FUZZ_CHECK(entry.replyTo.size() <= kAccountFieldLimit);
    }
    const std::string written =
        FormatAccountBook(OpeningAccountList(text, {"Ann", "ann@x.org", "smtp.x.org", ""}));
    FUZZ_CHECK(FormatAccountBook(ParseAccountBook(written)) == written);
    return 0;
}
