#include "mail/smtp_account.h"

namespace {

int KnownSecurity(int security) {
    return security == kSmtpSecurityStartTls || security == kSmtpSecurityTls ? security
                                                                             : kSmtpSecurityNone;
}

} // namespace

int DefaultSmtpPort(int security) {
    switch (KnownSecurity(security)) {
    case kSmtpSecurityStartTls:
        return 587;
    case kSmtpSecurityTls:
        return 465;
    default:
        return 25;
    }
}

void TakeSmtpLogin(const ProgramSettings& settings, SmtpLogin& login) {
    login.security = KnownSecurity(settings.smtpSecurity);
    CopyField(login.user, sizeof login.user, settings.smtpUser);
    CopyField(login.protectedPassword, sizeof login.protectedPassword, settings.smtpPassword);
}

void ApplySmtpLogin(ProgramSettings& settings, const SmtpLogin& login) {
    settings.smtpSecurity = KnownSecurity(login.security);
    CopyField(settings.smtpUser, sizeof settings.smtpUser, login.user);
    CopyField(settings.smtpPassword, sizeof settings.smtpPassword, login.protectedPassword);
}

void ApplyDeclaredSmtpSecurity(ProgramSettings& settings, int security, bool portDeclared) {
    settings.smtpSecurity = KnownSecurity(security);
    if (!portDeclared) {
        settings.smtpPort = DefaultSmtpPort(settings.smtpSecurity);
    }
}

bool SmtpNeedsExtensions(const ProgramSettings& settings) {
    return KnownSecurity(settings.smtpSecurity) != kSmtpSecurityNone ||
           settings.smtpUser[0] != '\0';
}
