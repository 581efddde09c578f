// A profile's prefs.js, through both readers. Thunderbird's parser: every identity has an
// address, a port exactly when it has a server, and fits the candidate table cut to its fields.
// Communicator's fixed positions: every value is a piece of one line of the input.
#include "fuzz_support.h"

#include <cstring>
#include <string_view>

#include "autoconfig/account_candidates.h"
#include "autoconfig/communicator_prefs.h"
#include "autoconfig/thunderbird_accounts.h"
#include "autoconfig/user_prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CandidateTable table = {};
    for (const MailIdentity& identity : ThunderbirdIdentities(ParseUserPrefs(text))) {
        FUZZ_CHECK(!identity.address.empty());
        FUZZ_CHECK((identity.port == 0) == identity.server.empty());
        FUZZ_CHECK(identity.port >= 0 && identity.port <= 65535);
        AddCandidate(table,
                     {identity.address.c_str(), identity.name.c_str(), identity.replyTo.c_str(),
                      identity.server.c_str(), identity.port, identity.security});
    }
    FUZZ_CHECK(table.count >= 0 && table.count <= kMaxCandidates);
    for (int i = 0; i < table.count; ++i) {
        FUZZ_CHECK(std::memchr(table.slots[i].address, '\0', kCandidateFieldSize) != nullptr);
        FUZZ_CHECK(std::memchr(table.slots[i].server, '\0', kCandidateFieldSize) != nullptr);
    }

    const CommunicatorSettings settings = ReadCommunicatorPrefs(text);
    for (const std::string* value :
         {&settings.address, &settings.name, &settings.replyTo, &settings.server}) {
        FUZZ_CHECK(value->find('\n') == std::string::npos);
        FUZZ_CHECK(text.find(*value) != std::string_view::npos);
    }
    return 0;
}
