#include "base/win/message_box.h"
#include "autoconfig/win/auto_config.h"
#include "resources/resource_ids.h"

void ApplyAccount(const AutoConfigTarget& target, const AccountCandidate& account,
                  PortRule portRule) {
    ApplyAccountToSettings(*target.settings, account, portRule);
    if (target.fromField) {
        PostMessageA(target.fromField, WM_COMMAND, IDC_REFRESH_SENDER, 0);
    }
    ShowMessageBox(target.mainWindow, "You are now ready to send Voice & Video Emails!",
                   "Auto Configuration", MB_OK);
}
