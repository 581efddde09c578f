#include "autoconfig/apply_account.h"

#include "mail/smtp_account.h"

namespace {

// The connection security the source declares (Unknown leaves the setting as it is); a source
// that names no port gets the security's own default port.
void ApplyDeclaredSecurity(ProgramSettings& settings, const AccountCandidate& account) {
    int security = kSmtpSecurityNone;
    switch (account.security) {
    case ConnectionSecurity::Unknown:
        return;
    case ConnectionSecurity::None:
        break;
    case ConnectionSecurity::StartTls:
        security = kSmtpSecurityStartTls;
        break;
    case ConnectionSecurity::Tls:
        security = kSmtpSecurityTls;
        break;
    }
    ApplyDeclaredSmtpSecurity(settings, security, account.port > 0);
}

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
    ApplyDeclaredSecurity(settings, account);
}
