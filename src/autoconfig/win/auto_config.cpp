#include "autoconfig/win/auto_config.h"

#include <memory>

#include "base/win/message_box.h"
#include "autoconfig/mail_handler.h"
#include "autoconfig/win/importers.h"
#include "autoconfig/win/mail_programs.h"
#include "resources/resource_ids.h"

namespace {

int CommandOf(Importer importer) {
    switch (importer) {
    case Importer::Outlook:
        return IDM_AUTOCONFIG_OUTLOOK;
    case Importer::Navigator:
        return IDM_AUTOCONFIG_NAVIGATOR;
    case Importer::Communicator:
        return IDM_AUTOCONFIG_COMMUNICATOR;
    case Importer::Eudora:
        return IDM_AUTOCONFIG_EUDORA;
    case Importer::Thunderbird:
        return IDM_AUTOCONFIG_THUNDERBIRD;
    case Importer::None:
        break;
    }
    return 0;
}

void PostImporter(const AutoConfigTarget& target, Importer importer, LPARAM lParam) {
    PostMessageA(target.mainWindow, WM_COMMAND, static_cast<WPARAM>(CommandOf(importer)), lParam);
}

// The mail handler names the importer; failing that, the web browser does. Without a browser
// the user is offered the E-mail Settings dialog.
void DetectMailProgram(const AutoConfigTarget& target) {
    char command[kCommandLineSize] = {};
    if (!ReadMailHandlerCommand(command)) {
        return;
    }
    const Importer mailProgram = ImporterForMailCommand(command);
    if (mailProgram != Importer::None) {
        PostImporter(target, mailProgram, 0);
        return;
    }
    if (!ReadBrowserCommand(command)) {
        const int answer = ShowMessageBox(target.mainWindow,
                                          "You need to configure your email before sending\n"
                                          "Emails with Kestro.  Would you like to do this now?",
                                          "Kestro Program Alert", MB_OKCANCEL);
        if (answer == IDOK) {
            DialogBoxParamA(target.instance, "EMAILSET", target.mainWindow,
                            target.emailSettingsProc, 0);
        }
        return;
    }
    const Importer browser = ImporterForBrowserCommand(command);
    if (browser != Importer::None) {
        PostImporter(target, browser, browser == Importer::Communicator ? 1 : 0);
    }
}

// One account is applied at once, several are offered in the list.
void OfferAccounts(const AutoConfigTarget& target, const CandidateTable& table) {
    if (table.count == 1) {
        if (table.slots[0].address[0] != '\0') {
            ApplyAccount(target, table.slots[0], PortRule::SourceOrDefault);
        }
    } else if (table.count >= 2) {
        ChooseAccount(target, table);
    }
}

} // namespace

void RunAutoConfiguration(const AutoConfigTarget& target, int commandId, LPARAM lParam) {
    if (commandId == IDM_AUTOCONFIG) {
        DetectMailProgram(target);
        return;
    }
    auto table = std::make_unique<CandidateTable>();
    switch (commandId) {
    case IDM_AUTOCONFIG_OUTLOOK:
        CollectOutlookAccounts(*table);
        break;
    case IDM_AUTOCONFIG_NAVIGATOR:
        CollectNavigatorAccount(*table);
        break;
    case IDM_AUTOCONFIG_COMMUNICATOR:
        CollectCommunicatorAccounts(*table, lParam == 1);
        break;
    case IDM_AUTOCONFIG_EUDORA:
        CollectEudoraAccount(*table);
        break;
    case IDM_AUTOCONFIG_THUNDERBIRD:
        CollectThunderbirdAccounts(*table);
        break;
    default:
        return;
    }
    OfferAccounts(target, *table);
}
