#include "mail/win/mail_windows.h"

MailWindows mailWindows = {};
