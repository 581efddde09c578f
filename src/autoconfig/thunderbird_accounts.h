// The sending identities of a Thunderbird profile, resolved from its preferences: every
// mail.identity.<id> with its address, name, reply-to address and the SMTP server it names
// (mail.smtpserver.<key>.hostname and .port), or the default server when it names none.
#pragma once

#include <string>
#include <vector>

#include "autoconfig/account_candidates.h"
#include "autoconfig/user_prefs.h"

struct MailIdentity {
    std::string address; // UTF-8, as the preferences hold them
    std::string name;
    std::string replyTo;
    std::string server;
    int port; // 0 when the identity has no server
    ConnectionSecurity security;
};

// The identities with an address: those of the default account first, then those of the other
// accounts in the account manager's order, then any others in the order of their keys.
std::vector<MailIdentity> ThunderbirdIdentities(const PrefTable& prefs);
