#include "autoconfig/account_candidates.h"

#include <cstring>

namespace {

void CopyCandidateText(char* field, size_t fieldSize, const char* text) {
    CopyField(field, fieldSize, text != nullptr ? text : "");
}

bool SameAccount(const AccountCandidate& a, const AccountCandidate& b) {
    return std::strcmp(a.address, b.address) == 0 && std::strcmp(a.name, b.name) == 0 &&
           std::strcmp(a.replyTo, b.replyTo) == 0 && std::strcmp(a.server, b.server) == 0 &&
           a.port == b.port && a.security == b.security;
}

} // namespace

bool AddCandidate(CandidateTable& table, const AccountTexts& account) {
    if (table.count < 0 || table.count >= kMaxCandidates) {
        return false;
    }
    AccountCandidate candidate = {};
    CopyCandidateText(candidate.address, sizeof candidate.address, account.address);
    CopyCandidateText(candidate.name, sizeof candidate.name, account.name);
    CopyCandidateText(candidate.replyTo, sizeof candidate.replyTo, account.replyTo);
    CopyCandidateText(candidate.server, sizeof candidate.server, account.server);
    candidate.port = account.port > 0 && account.port <= 65535 ? account.port : 0;
    candidate.security = account.security;
    for (int i = 0; i < table.count; ++i) {
        if (SameAccount(table.slots[i], candidate)) {
            return true; // already listed
        }
    }
    table.slots[table.count++] = candidate;
    return true;
}

int PortOrDefault(const AccountCandidate& candidate) {
    return candidate.port > 0 ? candidate.port : 25;
}
