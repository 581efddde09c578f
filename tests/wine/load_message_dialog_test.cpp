// The Load Message dialog through the real main window: the list, a column click, the Delete key
// and the Delete button, Load and Cancel.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/placeholders.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/list_views.h"

namespace {

std::string Kto(const char* to, const char* subject, const char* date, int attachments) {
    std::string bytes = "FROMemailann@example.com\r\nFROMnameAnn Lee\r\nTO1\r\n" + std::string(to) +
                        "\r\nCC0\r\nBCC0\r\nSUBJECT" + subject + "\r\nATTACHMENTS" +
                        std::to_string(attachments) + "\r\n";
    for (int i = 0; i < attachments; ++i) {
        bytes += "C:\\nowhere\\file" + std::to_string(i) + ".wav\r\n";
    }
    return bytes + "FLAGHTML=0\r\nDATE=" + date + "\r\nBODY\r\n{\\rtf1 " + subject + "}\r\r\n";
}

class LoadMessageDialog : public MainWindowTest {
  protected:
    std::string SaveFolder() const { return folder_ + "save\\"; }

    // Writes a saved message into its own folder under the save folder.
    void Saved(const char* folder, const char* file, const std::string& bytes) const {
        CreateDirectoryA(SaveFolder().c_str(), nullptr);
        CreateDirectoryA((SaveFolder() + folder).c_str(), nullptr);
        WriteWholeFile(SaveFolder() + folder + "\\" + file, bytes);
    }

    // Three saved messages, and a plain file in the save folder.
    void SaveThree() const {
        Saved("Jan022027-0900AM-00", "bob@ex.com-Budget.kto",
              Kto("bob@ex.com", "Budget", "Jan 02 2027  09:00 AM", 0));
        Saved("Dec062026-1217AM-56", "Ann@ex.com-Lunch.kto",
              Kto("Ann@ex.com", "Lunch", "Dec 06 2026  12:17 AM", 2));
        Saved("Apr012027-0100PM-30", "cy@ex.com-Concert.kto",
              Kto("cy@ex.com", "Concert", "Apr 01 2027  01:00 PM", 1));
        WriteWholeFile(SaveFolder() + "notes.txt", "a plain file in the save folder");
    }

    // Opens the dialog and runs `inside` with it and its list; `inside` ends the dialog.
    void WithDialog(const std::function<void(HWND dialog, HWND list)>& inside) {
        bool seen = false;
        WhenDialogAppears([&](HWND dialog) {
            seen = true;
            inside(dialog, GetDlgItem(dialog, IDC_LOAD_LIST));
            if (IsWindow(dialog)) {
                SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        SendMessageA(window_, WM_COMMAND, IDM_LOAD_MESSAGE, 0);
        PumpMessages();
        ForgetDialogAction();
        EXPECT_TRUE(seen);
    }

    // The subjects in list order.
    static std::vector<std::string> Subjects(HWND list) {
        std::vector<std::string> subjects = ListRows(list, 2);
        for (std::string& row : subjects) {
            row.erase(0, row.find('|') + 1);
        }
        return subjects;
    }

    static int Find(HWND list, const std::string& subject) {
        const std::vector<std::string> subjects = Subjects(list);
        const auto found = std::find(subjects.begin(), subjects.end(), subject);
        return found == subjects.end() ? -1 : static_cast<int>(found - subjects.begin());
    }
};

// The columns' texts and the sort order are the saved-message list's (tested natively); here
// what the dialog shows of them and that a column click sorts.
TEST_F(LoadMessageDialog, ListsEverySavedMessageAndAColumnClickSorts) {
    SaveThree();
    WithDialog([&](HWND dialog, HWND list) {
        EXPECT_EQ(TextOf(dialog), "Load Saved Message");
        const char* titles[] = {"To", "Subject", "Date", "Attachment"};
        for (int column = 0; column < 4; ++column) {
            char title[32] = {};
            LVCOLUMNA header = {};
            header.mask = LVCF_TEXT;
            header.pszText = title;
            header.cchTextMax = sizeof title;
            ListView_GetColumn(list, column, &header);
            EXPECT_STREQ(title, titles[column]);
        }
        ClickListHeading(list, 2); // month names first: Apr, Dec, Jan
        EXPECT_EQ(ListRows(list, 4),
                  (std::vector<std::string>{"cy@ex.com|Concert|Apr 01 2027  01:00 PM|Y",
                                            "Ann@ex.com|Lunch|Dec 06 2026  12:17 AM|Y",
                                            "bob@ex.com|Budget|Jan 02 2027  09:00 AM|N"}));
        ClickListHeading(list, 1);
        EXPECT_EQ(Subjects(list), (std::vector<std::string>{"Budget", "Concert", "Lunch"}));
    });
}

TEST_F(LoadMessageDialog, TheDeleteKeyHidesAndTheDeleteButtonRemovesFromDisk) {
    SaveThree();
    WithDialog([&](HWND dialog, HWND list) {
        // The key: the selected messages leave the list and stay on disk.
        SelectListItem(list, Find(list, "Budget"));
        SelectListItem(list, Find(list, "Concert"));
        SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(Subjects(list), std::vector<std::string>{"Lunch"});
        EXPECT_TRUE(FileExists(SaveFolder() + "Jan022027-0900AM-00\\bob@ex.com-Budget.kto"));
        EXPECT_TRUE(FileExists(SaveFolder() + "Apr012027-0100PM-30\\cy@ex.com-Concert.kto"));

        // The button asks first; Cancel keeps everything.
        SelectListItem(list, 0);
        MessageBoxes::Plan(IDCANCEL);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        ExpectMessageBox(0, "Are you sure you want to permanently\nremove the saved message?",
                         "Delete Message", MB_OKCANCEL);
        EXPECT_EQ(ListView_GetItemCount(list), 1);
        EXPECT_TRUE(FileExists(SaveFolder() + "Dec062026-1217AM-56"));

        // OK removes the message's folder with its files, read-only ones too.
        SetFileAttributesA((SaveFolder() + "Dec062026-1217AM-56\\Ann@ex.com-Lunch.kto").c_str(),
                           FILE_ATTRIBUTE_READONLY);
        WriteWholeFile(SaveFolder() + "Dec062026-1217AM-56\\voice.wav", "copy");
        MessageBoxes::Plan(IDOK);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        EXPECT_EQ(ListView_GetItemCount(list), 0);
        EXPECT_FALSE(FileExists(SaveFolder() + "Dec062026-1217AM-56"));
        EXPECT_TRUE(FileExists(SaveFolder() + "Jan022027-0900AM-00"));

        // With nothing selected the button deletes nothing.
        MessageBoxes::Plan(IDOK);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        EXPECT_EQ(MessageBoxes::Calls().size(), 3u);
    });
    // Opened again, the hidden messages are back; the deleted one is gone.
    WithDialog([&](HWND, HWND list) {
        EXPECT_EQ(ListView_GetItemCount(list), 2);
        EXPECT_EQ(Find(list, "Lunch"), -1);
    });
}

TEST_F(LoadMessageDialog, LoadAsksBeforeReplacingAnUnsentMessageAndFillsTheComposer) {
    SaveThree();
    SetWindowTextA(Edit(IDC_TO_EDIT), "draft@example.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "cc@example.com");
    SetWindowTextA(composeWindows.bodyEditor, "unsent draft");
    htmlFormatting = 1;
    WithDialog([&](HWND dialog, HWND) { SendMessageA(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "draft@example.com") << "Load without a selection";
    EXPECT_TRUE(MessageBoxes::Calls().empty()) << "Load without a selection";
    WithDialog([&](HWND dialog, HWND list) {
        SelectListItem(list, Find(list, "Concert"));
        // Cancel keeps the draft, loads nothing and leaves the dialog open.
        MessageBoxes::Plan(IDCANCEL);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "draft@example.com");
        EXPECT_EQ(TextOf(composeWindows.bodyEditor), "unsent draft");
        EXPECT_EQ(alreadySent, 0);

        MessageBoxes::Plan(IDOK);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_FALSE(IsWindowVisible(dialog)); // ended
    });
    ASSERT_EQ(MessageBoxes::Calls().size(), 2u); // asked once each time, not again by New Message
    for (size_t i = 0; i < 2; ++i) {
        ExpectMessageBox(i, "This e-mail has not been sent.\nClear the message anyways?",
                         "New Message Notification", MB_OKCANCEL | MB_ICONEXCLAMATION);
    }
    // The old message is gone, the saved one is there. Its attachment no longer exists and is
    // left out.
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "cy@ex.com");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), kCcPlaceholder);
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "Concert");
    EXPECT_EQ(TextOf(composeWindows.bodyEditor), "Concert");
    EXPECT_EQ(htmlFormatting, 0);
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_EQ(alreadySent, 0);
}

TEST_F(LoadMessageDialog, LoadIntoAnEmptyOrASentComposerAsksNothing) {
    SaveThree();
    for (const bool sent : {false, true}) {
        SCOPED_TRACE(sent ? "sent" : "empty");
        if (sent) {
            SetWindowTextA(composeWindows.bodyEditor, "sent earlier");
            alreadySent = 1;
        }
        WithDialog([&](HWND dialog, HWND list) {
            SelectListItem(list, Find(list, "Budget"));
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_TRUE(MessageBoxes::Calls().empty());
        EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "Budget");
        ClearMessage();
    }
}

TEST_F(LoadMessageDialog, NoSaveFolderGivesAnEmptyList) {
    WithDialog([&](HWND, HWND list) { EXPECT_EQ(ListView_GetItemCount(list), 0); });
    // A file where the save folder belongs.
    WriteWholeFile(folder_ + "save", "not a folder");
    WithDialog([&](HWND, HWND list) { EXPECT_EQ(ListView_GetItemCount(list), 0); });
}

} // namespace
