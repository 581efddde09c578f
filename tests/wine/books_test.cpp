// The address book and the account book through the real dialogs, opened by a click on a label
// of the address panel: what they show, what OK does to the message and the settings, and the
// exact bytes of addbook.ini and accbook.ini afterwards.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/placeholders.h"
#include "compose/win/compose_windows.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using Texts = std::vector<std::string>;

// Every row of the dialog's list, its first `columns` texts joined by '|'.
Texts Rows(HWND dialog, int id, int columns) {
    HWND list = GetDlgItem(dialog, id);
    Texts rows(static_cast<size_t>(ListView_GetItemCount(list)));
    for (int item = 0; item < static_cast<int>(rows.size()); ++item) {
        for (int column = 0; column < columns; ++column) {
            char text[256] = {};
            ListView_GetItemText(list, item, column, text, sizeof text);
            rows[static_cast<size_t>(item)] += (column ? "|" : "") + std::string(text);
        }
    }
    return rows;
}

void Select(HWND dialog, int id, int item) {
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(GetDlgItem(dialog, id), item, state, state);
}

// A double click on the item (the list leaves the selection to the clicks before it).
void DoubleClick(HWND dialog, int id, int item) {
    RECT rect = {};
    ListView_GetItemRect(GetDlgItem(dialog, id), item, &rect, LVIR_LABEL);
    SendDlgItemMessageA(dialog, id, WM_LBUTTONDBLCLK, MK_LBUTTON,
                        MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2));
}

// A click on a column heading, clear of the divider and within the list's visible part.
void ClickHeading(HWND dialog, int id, int column) {
    HWND header = ListView_GetHeader(GetDlgItem(dialog, id));
    RECT rect = {};
    Header_GetItemRect(header, column, &rect);
    const LPARAM point = MAKELPARAM(rect.left + 30, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}

// Presses the button and, in the entry dialog it opens, notes the caption and the fields, puts
// in `fields` and presses OK (Cancel when `fields` is empty).
Texts WithEntry(HWND book, int button, const Texts& fields) {
    Texts shown;
    WhenDialogAppears([&](HWND entry) {
        shown.push_back(TextOf(entry));
        const int first = GetDlgItem(entry, IDC_AE_NAME) ? IDC_AE_NAME : IDC_ACE_NAME;
        for (int i = 0; i < (first == IDC_AE_NAME ? 2 : 4); ++i) {
            shown.push_back(TextOf(GetDlgItem(entry, first + i)));
            if (!fields.empty()) {
                SetDlgItemTextA(entry, first + i, fields[static_cast<size_t>(i)].c_str());
            }
        }
        SendMessageA(entry, WM_COMMAND, fields.empty() ? IDCANCEL : IDOK, 0);
    });
    SendMessageA(book, WM_COMMAND, button, 0);
    ForgetDialogAction();
    return shown;
}

class Books : public MainWindowTest {
  protected:
    std::string InitialSettingsFile() const override {
        return "VERSION=20\nUSEMAPI=0\nUSERNAME=Ann Lee\nMAILFROM=ann@x.org\n"
               "SERVERNAME=smtp.x.org\nSMTPPORT=25\nX=50\nY=40\nWIDTH=472\nHEIGHT=553\n";
    }

    // Clicks the label and runs `inside` in the dialog it opens; Cancel follows unless `inside`
    // pressed OK.
    void WithBook(int label, const std::function<void(HWND dialog)>& inside) {
        bool seen = false;
        WhenDialogAppears([&](HWND dialog) {
            seen = true;
            inside(dialog);
            if (IsWindowVisible(dialog)) {
                SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        SendMessageA(composeWindows.addressPanel, WM_COMMAND, MAKEWPARAM(label, BN_CLICKED), 0);
        ForgetDialogAction();
        EXPECT_TRUE(seen);
    }

    std::string File(const char* name) const { return ReadWholeFile(folder_ + name); }
};

TEST_F(Books, TheAddressBookFillsTheRecipientEditsAndOkSetsTheLongerOnes) {
    WriteWholeFile(folder_ + "addbook.ini", "Bo\r\nbo@y.net\r\nCy Fox\r\ncy@z.com\r\nodd name\r\n");
    SetWindowTextA(Edit(IDC_TO_EDIT), "a@x.org, b@y.net;c@z.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "keep@w.org");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "d@v.org");
    WithBook(IDC_TO_LABEL, [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Address Book");
        // The name without its address line is dropped.
        EXPECT_EQ(Rows(dialog, IDC_AB_LIST, 2), (Texts{"Bo|bo@y.net", "Cy Fox|cy@z.com"}));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_TO_EDIT)), "a@x.org\r\nb@y.net\r\nc@z.com\r\n");
        // A double-clicked entry joins the To edit; both selected ones the Bcc edit, after a
        // blank each, in list order.
        Select(dialog, IDC_AB_LIST, 1);
        DoubleClick(dialog, IDC_AB_LIST, 1);
        Select(dialog, IDC_AB_LIST, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_AB_BCC, 0);
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_BCC_EDIT)),
                  "d@v.org\r\n bo@y.net\r\n cy@z.com\r\n");
        // An emptied Cc edit leaves the message's Cc field alone.
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_AB_CC_EDIT)), "keep@w.org\r\n");
        SetDlgItemTextA(dialog, IDC_AB_CC_EDIT, "");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "a@x.org  b@y.net  c@z.com   cy@z.com  ");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "keep@w.org");
    EXPECT_EQ(TextOf(Edit(IDC_BCC_EDIT)), "d@v.org   bo@y.net   cy@z.com  ");
    EXPECT_EQ(File("addbook.ini"), "Bo\r\nbo@y.net\r\nCy Fox\r\ncy@z.com\r\n");
}

TEST_F(Books, NewEditDeleteAndSortReachTheAddressBookOnlyThroughOk) {
    const std::string book = "Zed\r\nann@q.org\r\nann\r\nzed@q.org\r\nBo\r\nbo@q.org\r\n";
    WriteWholeFile(folder_ + "addbook.ini", book);
    const auto change = [&](HWND dialog) {
        ClickHeading(dialog, IDC_AB_LIST, 1);
        EXPECT_EQ(Rows(dialog, IDC_AB_LIST, 1), (Texts{"Zed", "Bo", "ann"}));
        WithEntry(dialog, IDC_AB_NEW, {"Nobody", ""}); // no address: nothing added
        EXPECT_EQ(WithEntry(dialog, IDC_AB_NEW, {"Dee", "dee@q.org"}),
                  (Texts{"Add Email Address", "", ""}));
        // Edit puts the entry last: as it was on Cancel, changed on OK, gone when emptied.
        Select(dialog, IDC_AB_LIST, 1);
        EXPECT_EQ(WithEntry(dialog, IDC_AB_EDIT, {}),
                  (Texts{"Edit Email Address", "Bo", "bo@q.org"}));
        Select(dialog, IDC_AB_LIST, 0);
        WithEntry(dialog, IDC_AB_EDIT, {"Al", "al@q.org"});
        Select(dialog, IDC_AB_LIST, 1);
        WithEntry(dialog, IDC_AB_EDIT, {"Dee", ""});
        EXPECT_EQ(Rows(dialog, IDC_AB_LIST, 1), (Texts{"ann", "Bo", "Al"}));
        Select(dialog, IDC_AB_LIST, 0);
        SendDlgItemMessageA(dialog, IDC_AB_LIST, WM_KEYDOWN, VK_DELETE, 0);
        Select(dialog, IDC_AB_LIST, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_AB_DELETE, 0);
    };
    WithBook(IDC_CC_LABEL, change); // Cancel
    EXPECT_EQ(File("addbook.ini"), book);
    WithBook(IDC_BCC_LABEL, [&](HWND dialog) {
        change(dialog);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(File("addbook.ini"), "Al\r\nal@q.org\r\n");
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), kToPlaceholder);

    // Without a file the book is empty, and OK writes an empty one.
    DeleteFileA((folder_ + "addbook.ini").c_str());
    WithBook(IDC_TO_LABEL, [&](HWND dialog) {
        EXPECT_EQ(Rows(dialog, IDC_AB_LIST, 2), Texts{});
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(FileExists(folder_ + "addbook.ini"));
    EXPECT_EQ(File("addbook.ini"), "");
}

TEST_F(Books, TheFirstAccountBookHoldsUseMapiAndTheCurrentAccount) {
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Account Book");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ACB_CURRENT)), "Ann Lee <ann@x.org>");
        EXPECT_EQ(Rows(dialog, IDC_ACB_LIST, 4),
                  (Texts{"use MAPI| | |", "Ann Lee|ann@x.org|smtp.x.org|"}));
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    const std::string book = "Ann Lee\r\nann@x.org\r\nsmtp.x.org\r\n\r\n";
    EXPECT_EQ(File("accbook.ini"), book);
    EXPECT_EQ(programSettings.useMapi, 0);

    // "use MAPI", double-clicked, changes only USEMAPI; the sender line follows.
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        Select(dialog, IDC_ACB_LIST, 0);
        DoubleClick(dialog, IDC_ACB_LIST, 0);
        PumpMessages();
    });
    PumpMessages();
    EXPECT_EQ(programSettings.useMapi, 1);
    EXPECT_STREQ(programSettings.serverName, "smtp.x.org");
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "send via MAPI");
    EXPECT_EQ(File("accbook.ini"), book);
}

TEST_F(Books, AccountsAreChosenEditedAndKeptOnlyThroughOk) {
    // Ann's identity stands in the file already; the last record lacks its reply line.
    const std::string book = "Bo\r\nbo@y.net\r\nmail.y.net\r\nreply@y.net\r\n"
                             "Ann Lee\r\nann@x.org\r\nother.x.org\r\n\r\n"
                             "Cut\r\ncut@z.com\r\nsmtp.z.com\r\n";
    WriteWholeFile(folder_ + "accbook.ini", book);
    const auto change = [&](HWND dialog) {
        EXPECT_EQ(Rows(dialog, IDC_ACB_LIST, 4),
                  (Texts{"use MAPI| | |", "Bo|bo@y.net|mail.y.net|reply@y.net",
                         "Ann Lee|ann@x.org|other.x.org|"}));
        WithEntry(dialog, IDC_ACB_NEW, {"Dee", "dee@q.org", "", ""}); // no server: not added
        EXPECT_EQ(WithEntry(dialog, IDC_ACB_NEW, {"Dee", "dee@q.org", "smtp.q.org", ""}).at(0),
                  "Add Account");
        // Edit puts the entry last; an empty server is fine there.
        Select(dialog, IDC_ACB_LIST, 1);
        EXPECT_EQ(WithEntry(dialog, IDC_ACB_EDIT, {"Bo Fox", "bo@fox.net", "", "r@fox.net"}),
                  (Texts{"Edit Account", "Bo", "bo@y.net", "mail.y.net", "reply@y.net"}));
        Select(dialog, IDC_ACB_LIST, 1);
        SendDlgItemMessageA(dialog, IDC_ACB_LIST, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(Rows(dialog, IDC_ACB_LIST, 1), (Texts{"use MAPI", "Dee", "Bo Fox"}));
        Select(dialog, IDC_ACB_LIST, 2);
    };
    WithBook(IDC_FROM_LABEL, change); // Cancel
    EXPECT_EQ(File("accbook.ini"), book);
    EXPECT_STREQ(programSettings.serverName, "smtp.x.org");

    programSettings.useMapi = 1;
    WithBook(IDC_FROM_LABEL, [&](HWND dialog) {
        change(dialog);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    PumpMessages();
    EXPECT_EQ(File("accbook.ini"),
              "Dee\r\ndee@q.org\r\nsmtp.q.org\r\n\r\nBo Fox\r\nbo@fox.net\r\n\r\nr@fox.net\r\n");
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_STREQ(programSettings.mailFrom, "bo@fox.net");
    EXPECT_STREQ(programSettings.serverName, "");
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Bo Fox <r@fox.net>");
}

} // namespace
