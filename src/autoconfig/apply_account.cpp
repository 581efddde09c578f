#include "autoconfig/apply_account.h"

namespace {

// The connection security the source declares. The settings have no place for it yet; once
// they do, it is stored here (Unknown leaves the setting as it is).
void ApplyDeclaredSecurity(ProgramSettings& /*settings*/, ConnectionSecurity /*security*/) {}

} // namespace

void ApplyAccountToSettings(ProgramSettings& settings, const AccountCandidate& account,
                            PortRule portRule) {
    CopyField(settings.userName, sizeof settings.userName, account.name);
    CopyField(settings.mailFrom, sizeof settings.mailFrom, account.address);
    CopyField(settings.replyTo, sizeof settings.replyTo, account.replyTo);
    CopyField(settings.serverName, sizeof settings.serverName, account.server);
    settings.useMapi = 0;
    if (account.port > 0 || portRule == PortRule::SourceOrDefault) {
        settings.smtpPort = PortOrDefault(account);
    }
    ApplyDeclaredSecurity(settings, account.security);
}
