// The address book and the account book through the real dialogs, opened by a click on a label
// of the address panel: what the dialogs show, what OK does to the message and the settings,
// and the exact bytes of addbook.ini and accbook.ini afterwards.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/placeholders.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/list_view.h"

namespace {

using Rows = std::vector<std::string>;

class Books : public MainWindowTest {
  protected:
    std::string InitialSettingsFile() const override {
        return "VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\nMAILFROM=ann@x.org\r\n"
               "SERVERNAME=smtp.x.org\r\nSMTPPORT=25\r\nX=50\r\nY=40\r\nWIDTH=472\r\n"
               "HEIGHT=553\r\n";
    }

    std::string AddressFile() const { return folder_ + "addbook.ini"; }
    std::string AccountFile() const { return folder_ + "accbook.ini"; }

    // Clicks the label and runs `inside` in the dialog it opens; `inside` ends the dialog with
    // OK or Cancel (Cancel follows when it does not).
    void WithBook(int label, const std::function<void(HWND dialog)>& inside) {
        bool seen = false;
        WhenDialogAppears([&](HWND dialog) {
            seen = true;
            inside(dialog);
            if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        SendMessageA(app.addressPanel, WM_COMMAND, MAKEWPARAM(label, BN_CLICKED), 0);
        ForgetDialogAction();
        EXPECT_TRUE(seen);
    }

    // Presses the button and fills the entry dialog it opens (name and address for the address
    // book, four fields for the account book) before OK, or Cancel when `fields` is empty.
    static void WithEntryDialog(HWND book, int button, const std::vector<std::string>& fields,
                                std::string* caption = nullptr,
                                std::vector<std::string>* shown = nullptr) {
        WhenDialogAppears([&](HWND entry) {
            const int first = GetDlgItem(entry, IDC_AE_NAME) ? IDC_AE_NAME : IDC_ACE_NAME;
            const int count = first == IDC_AE_NAME ? 2 : 4;
            if (caption) {
                *caption = TextOf(entry);
            }
            for (int i = 0; i < count; ++i) {
                if (shown) {
                    shown->push_back(TextOf(GetDlgItem(entry, first + i)));
                }
                if (!fields.empty()) {
                    SetDlgItemTextA(entry, first + i, fields[static_cast<size_t>(i)].c_str());
                }
            }
            SendMessageA(entry, WM_COMMAND, fields.empty() ? IDCANCEL : IDOK, 0);
        });
        SendMessageA(book, WM_COMMAND, button, 0);
        ForgetDialogAction();
    }

    static void Ok(HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDOK, 0); }
};

TEST_F(Books, TheAddressBookFillsTheRecipientEditsAndOkSetsTheLongerOnes) {
    WriteWholeFile(AddressFile(), "Bo\r\nbo@y.net\r\nCy Fox\r\ncy@z.com\r\nodd name\r\n");
    SetWindowTextA(Edit(IDC_TO_EDIT), "a@x.org, b@y.net;c@z.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "keep@w.org");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "d@v.org");
    WithBook(IDC_TO_LABEL, [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Address Book");
        HWND source = GetDlgItem(dialog, IDC_AB_SOURCE);
        EXPECT_EQ(SendMessageA(source, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(source, CB_GETCURSEL, 0, 0), 0);
        HWND list = GetDlgItem(dialog, IDC_AB_LIST);
        // The name without its address line is dropped.
        EXPECT_EQ(ListRows(list, 2), (Rows{"Bo|bo@y.net", "Cy Fox|cy@z.com"}));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_TO_EDIT)), "a@x.org\r\nb@y.net\r\nc@z.com\r\n");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_CC_EDIT)), "keep@w.org\r\n");
        // Both selected entries join the Bcc edit after a blank each, in list order.
        SelectItem(list, 1);
        SelectItem(list, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_AB_BCC, 0);
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_BCC_EDIT)),
                  "d@v.org\r\n bo@y.net\r\n cy@z.com\r\n");
        // An emptied Cc edit leaves the message's Cc field alone.
        SetDlgItemTextA(dialog, IDC_AB_CC_EDIT, "");
        Ok(dialog);
    });
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "a@x.org  b@y.net  c@z.com  ");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "keep@w.org");
    EXPECT_EQ(TextOf(Edit(IDC_BCC_EDIT)), "d@v.org   bo@y.net   cy@z.com  ");
    EXPECT_EQ(ReadWholeFile(AddressFile()), "Bo\r\nbo@y.net\r\nCy Fox\r\ncy@z.com\r\n");
}

TEST_F(Books, NewEditDeleteAndSortReachTheFileOnlyThroughOk) {
    const std::string book = "Zed\r\nann@q.org\r\nann\r\nzed@q.org\r\nBo\r\nbo@q.org\r\n";
    WriteWholeFile(AddressFile(), book);
    const auto change = [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_AB_LIST);
        ClickColumnHeading(list, 1);
        EXPECT_EQ(ListRows(list, 2), (Rows{"Zed|ann@q.org", "Bo|bo@q.org", "ann|zed@q.org"}));
        ClickColumnHeading(list, 0); // names without regard to case
        EXPECT_EQ(ListRows(list, 2), (Rows{"ann|zed@q.org", "Bo|bo@q.org", "Zed|ann@q.org"}));
        // New without an address adds nothing; with one, at the end.
        WithEntryDialog(dialog, IDC_AB_NEW, {"Nobody", ""});
        std::string caption;
        WithEntryDialog(dialog, IDC_AB_NEW, {"Dee", "dee@q.org"}, &caption);
        EXPECT_EQ(caption, "Add Email Address");
        // Edit shows the first selected entry and puts it last; Cancel keeps it as it was.
        SelectItem(list, 1);
        std::vector<std::string> shown;
        WithEntryDialog(dialog, IDC_AB_EDIT, {}, &caption, &shown);
        EXPECT_EQ(caption, "Edit Email Address");
        EXPECT_EQ(shown, (std::vector<std::string>{"Bo", "bo@q.org"}));
        SelectItem(list, 0);
        WithEntryDialog(dialog, IDC_AB_EDIT, {"Ann Lee", "ann@lee.org"});
        EXPECT_EQ(ListRows(list, 2),
                  (Rows{"Zed|ann@q.org", "Dee|dee@q.org", "Bo|bo@q.org", "Ann Lee|ann@lee.org"}));
        // An emptied address deletes the entry; the Delete key and button delete the selection.
        SelectItem(list, 3);
        WithEntryDialog(dialog, IDC_AB_EDIT, {"Ann Lee", ""});
        SelectItem(list, 0);
        SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        SelectItem(list, 1);
        SendMessageA(dialog, WM_COMMAND, IDC_AB_DELETE, 0);
        EXPECT_EQ(ListRows(list, 2), Rows{"Dee|dee@q.org"});
    };
    WithBook(IDC_CC_LABEL, change); // Cancel
    EXPECT_EQ(ReadWholeFile(AddressFile()), book);
    WithBook(IDC_BCC_LABEL, [&](HWND dialog) {
        change(dialog);
        Ok(dialog);
    });
    EXPECT_EQ(ReadWholeFile(AddressFile()), "Dee\r\ndee@q.org\r\n");
    // The message's fields showed their placeholders and show them still.
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), kToPlaceholder);
}

TEST_F(Books, WithoutAFileTheBookIsEmptyAndOkWritesAnEmptyOne) {
    WithBook(IDC_TO_LABEL, [&](HWND dialog) {
        EXPECT_EQ(ListRows(GetDlgItem(dialog, IDC_AB_LIST), 2), Rows{});
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_TO_EDIT)), "");
        Ok(dialog);
    });
    EXPECT_TRUE(FileExists(AddressFile()));
    EXPECT_EQ(ReadWholeFile(AddressFile()), "");
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), kToPlaceholder);
}

// Command 25001 reaches the main window, which here finds no mail program and says so.
TEST_F(Books, TheMapiAddressBookTakesOverFromTheDropDownOrAtOnce) {
    const auto handedOver = [] {
        const std::vector<MessageBoxCall>& calls = MessageBoxes::Calls();
        const bool once = calls.size() == 1 && calls[0].caption == "Simple MAPI not available";
        MessageBoxes::Reset();
        return once;
    };
    SetWindowTextA(Edit(IDC_TO_EDIT), "a@x.org b@y.net");
    WithBook(IDC_TO_LABEL, [&](HWND dialog) {
        HWND source = GetDlgItem(dialog, IDC_AB_SOURCE);
        SendMessageA(source, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AB_SOURCE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(source));
    });
    PumpMessages();
    EXPECT_TRUE(handedOver());
    EXPECT_EQ(programSettings.alwaysAddressMapi, 0);

    // With ALWAYS_ADDRESS_MAPI the book applies the recipients and hands over as it opens.
    programSettings.alwaysAddressMapi = 1;
    SendMessageA(app.addressPanel, WM_COMMAND, MAKEWPARAM(IDC_CC_LABEL, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(handedOver());
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "a@x.org  b@y.net  ");
    EXPECT_EQ(programSettings.alwaysAddressMapi, 1);
    EXPECT_TRUE(FileExists(AddressFile()));
}

TEST_F(Books, TheFirstAccountBookHoldsUseMapiAndTheCurrentAccount) {
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Account Book");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ACB_CURRENT)), "Ann Lee <ann@x.org>");
        EXPECT_EQ(ListRows(GetDlgItem(dialog, IDC_ACB_LIST), 4),
                  (Rows{"use MAPI| | |", "Ann Lee|ann@x.org|smtp.x.org|"}));
        Ok(dialog);
    });
    EXPECT_EQ(ReadWholeFile(AccountFile()), "Ann Lee\r\nann@x.org\r\nsmtp.x.org\r\n\r\n");
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_STREQ(programSettings.mailFrom, "ann@x.org");

    // "use MAPI" changes only USEMAPI; the sender line follows.
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        SelectItem(GetDlgItem(dialog, IDC_ACB_LIST), 0);
        Ok(dialog);
    });
    PumpMessages();
    EXPECT_EQ(programSettings.useMapi, 1);
    EXPECT_STREQ(programSettings.userName, "Ann Lee");
    EXPECT_STREQ(programSettings.serverName, "smtp.x.org");
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "send via MAPI");
    EXPECT_EQ(ReadWholeFile(AccountFile()), "Ann Lee\r\nann@x.org\r\nsmtp.x.org\r\n\r\n");
}

TEST_F(Books, AccountsAreChosenEditedAndKeptOnlyThroughOk) {
    // Ann's identity stands in the file already; the last record lacks its reply line.
    const std::string book = "Bo\r\nbo@y.net\r\nmail.y.net\r\nreply@y.net\r\n"
                             "Ann Lee\r\nann@x.org\r\nother.x.org\r\n\r\n"
                             "Cut\r\ncut@z.com\r\nsmtp.z.com\r\n";
    WriteWholeFile(AccountFile(), book);
    const auto change = [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ACB_LIST);
        EXPECT_EQ(ListRows(list, 4), (Rows{"use MAPI| | |", "Bo|bo@y.net|mail.y.net|reply@y.net",
                                           "Ann Lee|ann@x.org|other.x.org|"}));
        ClickColumnHeading(list, 2);
        EXPECT_EQ(ListRows(list, 1), (Rows{"use MAPI", "Bo", "Ann Lee"}));
        // New needs an address and a server.
        WithEntryDialog(dialog, IDC_ACB_NEW, {"Dee", "dee@q.org", "", ""});
        std::string caption;
        WithEntryDialog(dialog, IDC_ACB_NEW, {"Dee", "dee@q.org", "smtp.q.org", ""}, &caption);
        EXPECT_EQ(caption, "Add Account");
        // Edit puts the entry last; an empty server is fine there.
        SelectItem(list, 1);
        std::vector<std::string> shown;
        WithEntryDialog(dialog, IDC_ACB_EDIT, {"Bo Fox", "bo@fox.net", "", "r@fox.net"}, &caption,
                        &shown);
        EXPECT_EQ(caption, "Edit Account");
        EXPECT_EQ(shown, (std::vector<std::string>{"Bo", "bo@y.net", "mail.y.net", "reply@y.net"}));
        SelectItem(list, 1);
        SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(ListRows(list, 4), (Rows{"use MAPI| | |", "Dee|dee@q.org|smtp.q.org|",
                                           "Bo Fox|bo@fox.net||r@fox.net"}));
        SelectItem(list, 2);
    };
    WithBook(IDC_FROM_LABEL, change); // Cancel
    EXPECT_EQ(ReadWholeFile(AccountFile()), book);
    EXPECT_STREQ(programSettings.serverName, "smtp.x.org");

    programSettings.useMapi = 1;
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        change(dialog);
        Ok(dialog);
    });
    PumpMessages();
    EXPECT_EQ(ReadWholeFile(AccountFile()),
              "Dee\r\ndee@q.org\r\nsmtp.q.org\r\n\r\nBo Fox\r\nbo@fox.net\r\n\r\nr@fox.net\r\n");
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_STREQ(programSettings.userName, "Bo Fox");
    EXPECT_STREQ(programSettings.mailFrom, "bo@fox.net");
    EXPECT_STREQ(programSettings.serverName, "");
    EXPECT_STREQ(programSettings.replyTo, "r@fox.net");
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Bo Fox <r@fox.net>");
}

} // namespace
