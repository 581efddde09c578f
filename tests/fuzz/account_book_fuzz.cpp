// accbook.ini as the account book reads it: any bytes, then written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "books/account_book_file.h"
#include "books/account_book_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<AccountEntry> list =
        OpeningAccountList(text, {"Ann", "ann@example.org", "smtp.example.org", ""});
    for (const AccountEntry& entry : list) {
        if (entry.name.size() > kAccountNameLimit || entry.address.size() > kAccountFieldLimit ||
            entry.server.size() > kAccountFieldLimit || entry.replyTo.size() > kAccountFieldLimit) {
            std::abort();
        }
    }
    const std::string written = FormatAccountBook(list);
    if (FormatAccountBook(ParseAccountBook(written)) != written) {
        std::abort();
    }
    return 0;
}
