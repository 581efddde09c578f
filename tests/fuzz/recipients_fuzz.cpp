// Recipient lists: any field text gives at most 64 addresses, each a plausible address that fits
// its entry, the rest of the list zero; the list read back from its own addresses is the same,
// and a field that shows its placeholder gives none.
#include "fuzz_support.h"

#include <cstring>

#include "mail/recipients.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    RecipientList list;
    const int count = ParseRecipients(text.c_str(), list);
    FUZZ_CHECK(count >= 0 && count <= kRecipientCount);
    std::string joined;
    for (int i = 0; i < kRecipientCount; ++i) {
        const char* entry = list.entries[i];
        if (i >= count) {
            FUZZ_CHECK(std::memcmp(entry, RecipientList{}.entries[0], kRecipientLength) == 0);
            continue;
        }
        FUZZ_CHECK(std::memchr(entry, '\0', kRecipientLength) != nullptr);
        FUZZ_CHECK(IsValidAddress(entry) && std::strpbrk(entry, " ;,") == nullptr);
        joined += std::string(i > 0 ? " " : "") + entry;
    }
    RecipientList again;
    FUZZ_CHECK(ParseRecipients(joined.c_str(), again) == count);
    FUZZ_CHECK(std::memcmp(&list, &again, sizeof list) == 0);

    const bool placeholder = std::string(text.c_str()) == RecipientPlaceholder(RecipientField::To);
    FUZZ_CHECK(ParseRecipientField(RecipientField::To, text.c_str(), again) ==
               (placeholder ? 0 : count));
    return 0;
}
