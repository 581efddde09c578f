// Taking a found account into the program settings.
#pragma once

#include "base/program_settings.h"
#include "autoconfig/account_candidates.h"

enum class PortRule {
    SourceOrDefault,   // the source's port, else 25
    SourceOrUnchanged, // the source's port, else the port stays as it is
};

// Empties the four sender texts and fills them from the candidate (name, address, reply-to,
// server), switches sending to the program's own SMTP client, and sets the port by the rule.
void ApplyAccountToSettings(ProgramSettings& settings, const AccountCandidate& account,
                            PortRule portRule);
