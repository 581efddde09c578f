#include "autoconfig/thunderbird_accounts.h"

#include <algorithm>

namespace {

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The items of a comma-separated list, without blanks and empty items.
std::vector<std::string> ListItems(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        std::string item = Trimmed(std::string_view(list).substr(start, comma - start));
        if (!item.empty()) {
            items.push_back(std::move(item));
        }
        start = comma + 1;
    }
    return items;
}

// The identity keys in the order described in the header.
std::vector<std::string> IdentityOrder(const PrefTable& prefs) {
    std::vector<std::string> accounts = ListItems(PrefText(prefs, "mail.accountmanager.accounts"));
    const std::string defaultAccount = PrefText(prefs, "mail.accountmanager.defaultaccount");
    const auto isDefault = std::find(accounts.begin(), accounts.end(), defaultAccount);
    if (isDefault != accounts.end()) {
        std::rotate(accounts.begin(), isDefault, isDefault + 1);
    }
    std::vector<std::string> order;
    auto add = [&](const std::string& id) {
        if (std::find(order.begin(), order.end(), id) == order.end()) {
            order.push_back(id);
        }
    };
    for (const std::string& account : accounts) {
        for (const std::string& id :
             ListItems(PrefText(prefs, "mail.account." + account + ".identities"))) {
            add(id);
        }
    }
    // Identities no account lists, "id2" before "id10".
    const std::string prefix = "mail.identity.";
    const std::string suffix = ".useremail";
    std::vector<std::string> others;
    for (auto it = prefs.lower_bound(prefix); it != prefs.end(); ++it) {
        const std::string& key = it->first;
        if (key.compare(0, prefix.size(), prefix) != 0) {
            break;
        }
        if (key.size() > prefix.size() + suffix.size() &&
            key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) {
            others.push_back(key.substr(prefix.size(), key.size() - prefix.size() - suffix.size()));
        }
    }
    std::stable_sort(others.begin(), others.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const std::string& id : others) {
        add(id);
    }
    return order;
}

// try_ssl: 0 none, 1 and 2 STARTTLS, 3 a TLS connection from the start.
ConnectionSecurity SecurityOf(long trySsl) {
    switch (trySsl) {
    case 0:
        return ConnectionSecurity::None;
    case 1:
    case 2:
        return ConnectionSecurity::StartTls;
    case 3:
        return ConnectionSecurity::Tls;
    default:
        return ConnectionSecurity::Unknown;
    }
}

void ResolveServer(const PrefTable& prefs, const std::string& id, MailIdentity& identity) {
    std::string key = PrefText(prefs, "mail.identity." + id + ".smtpServer");
    if (key.empty()) {
        key = PrefText(prefs, "mail.smtp.defaultserver");
    }
    const std::string server = "mail.smtpserver." + key;
    identity.server = key.empty() ? std::string() : PrefText(prefs, server + ".hostname");
    if (identity.server.empty()) {
        return;
    }
    long trySsl = 0;
    PrefNumber(prefs, server + ".try_ssl", trySsl);
    identity.security = SecurityOf(trySsl);
    long port = 0;
    if (PrefNumber(prefs, server + ".port", port) && port > 0 && port <= 65535) {
        identity.port = static_cast<int>(port);
    } else {
        identity.port = trySsl == 3 ? 465 : 25; // the program's own defaults
    }
}

} // namespace

std::vector<MailIdentity> ThunderbirdIdentities(const PrefTable& prefs) {
    std::vector<MailIdentity> identities;
    for (const std::string& id : IdentityOrder(prefs)) {
        const std::string base = "mail.identity." + id;
        MailIdentity identity{};
        identity.address = PrefText(prefs, base + ".useremail");
        if (identity.address.empty()) {
            continue;
        }
        identity.name = PrefText(prefs, base + ".fullName");
        identity.replyTo = PrefText(prefs, base + ".reply_to");
        identity.security = ConnectionSecurity::Unknown;
        ResolveServer(prefs, id, identity);
        identities.push_back(std::move(identity));
    }
    return identities;
}
