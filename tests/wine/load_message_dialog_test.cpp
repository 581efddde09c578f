// The Load Message dialog through the real main window: the list of saved messages and its
// columns, sorting by a column click, the Delete key and the Delete button, Load and Cancel.
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

    // Three saved messages, and things in the save folder that are no messages.
    void SaveThree() const {
        Saved("Jan022027-0900AM-00", "bob@ex.com-Budget.kto",
              Kto("bob@ex.com", "Budget", "Jan 02 2027  09:00 AM", 0));
        Saved("Dec062026-1217AM-56", "Ann@ex.com-Lunch.kto",
              Kto("Ann@ex.com", "Lunch", "Dec 06 2026  12:17 AM", 2));
        Saved("Apr012027-0100PM-30", "cy@ex.com-Concert.kto",
              Kto("cy@ex.com", "Concert", "Apr 01 2027  01:00 PM", 1));
        WriteWholeFile(SaveFolder() + "notes.txt", "a plain file in the save folder");
        WriteWholeFile(SaveFolder() + "Apr012027-0100PM-30\\voice.wav", "not listed");
        WriteWholeFile(SaveFolder() + "Apr012027-0100PM-30\\old.KTO", "not listed either");
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

    static int Count(HWND list) {
        return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    }

    static std::string Text(HWND list, int item, int column) {
        char text[1024] = {};
        LVITEMA request = {};
        request.iSubItem = column;
        request.pszText = text;
        request.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&request));
        return text;
    }

    // The subjects in list order.
    static std::vector<std::string> Subjects(HWND list) {
        std::vector<std::string> subjects;
        for (int i = 0; i < Count(list); ++i) {
            subjects.push_back(Text(list, i, 1));
        }
        return subjects;
    }

    static int Find(HWND list, const std::string& subject) {
        for (int i = 0; i < Count(list); ++i) {
            if (Text(list, i, 1) == subject) {
                return i;
            }
        }
        return -1;
    }

    static void Select(HWND list, int item) {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&state));
    }

    // A click on the header of the column.
    static void ClickColumn(HWND list, int column) {
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        RECT rect = {};
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&rect));
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageA(header, WM_MOUSEMOVE, 0, point);
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageA(header, WM_LBUTTONUP, 0, point);
    }
};

TEST_F(LoadMessageDialog, ListsEverySavedMessageWithItsFourColumns) {
    SaveThree();
    WithDialog([&](HWND dialog, HWND list) {
        EXPECT_EQ(TextOf(dialog), "Load Saved Message");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDOK)), "Load");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_LOAD_DELETE)), "Delete");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDCANCEL)), "Cancel");
        ASSERT_NE(list, nullptr);
        char className[32] = {};
        GetClassNameA(list, className, sizeof className);
        EXPECT_STREQ(className, "SysListView32");
        const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_NE(style & LVS_SHOWSELALWAYS, 0);
        EXPECT_NE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        const char* titles[] = {"To", "Subject", "Date", "Attachment"};
        for (int column = 0; column < 4; ++column) {
            char title[32] = {};
            LVCOLUMNA header = {};
            header.mask = LVCF_TEXT | LVCF_FMT;
            header.pszText = title;
            header.cchTextMax = sizeof title;
            ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                                     reinterpret_cast<LPARAM>(&header)));
            EXPECT_STREQ(title, titles[column]);
            EXPECT_EQ(header.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }

        // The plain file in the save folder hides nothing; other files are not listed.
        ASSERT_EQ(Count(list), 3);
        const int lunch = Find(list, "Lunch");
        ASSERT_GE(lunch, 0);
        EXPECT_EQ(Text(list, lunch, 0), "Ann@ex.com");
        EXPECT_EQ(Text(list, lunch, 2), "Dec 06 2026  12:17 AM");
        EXPECT_EQ(Text(list, lunch, 3), "Y");
        EXPECT_EQ(Text(list, Find(list, "Budget"), 3), "N");
        EXPECT_EQ(Text(list, Find(list, "Concert"), 3), "Y");
    });
}

TEST_F(LoadMessageDialog, AColumnClickSortsAscendingAndTheDateByItsText) {
    SaveThree();
    WithDialog([&](HWND, HWND list) {
        ClickColumn(list, 2);
        // Month names first: Apr, Dec, Jan, not the order in time.
        EXPECT_EQ(Subjects(list), (std::vector<std::string>{"Concert", "Lunch", "Budget"}));
        ClickColumn(list, 1);
        EXPECT_EQ(Subjects(list), (std::vector<std::string>{"Budget", "Concert", "Lunch"}));
        ClickColumn(list, 1); // every click sorts ascending
        EXPECT_EQ(Subjects(list), (std::vector<std::string>{"Budget", "Concert", "Lunch"}));
    });
}

TEST_F(LoadMessageDialog, TheDeleteKeyHidesAndTheDeleteButtonRemovesFromDisk) {
    SaveThree();
    WithDialog([&](HWND dialog, HWND list) {
        // The key: the selected messages leave the list and stay on disk.
        Select(list, Find(list, "Budget"));
        Select(list, Find(list, "Concert"));
        SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(Subjects(list), std::vector<std::string>{"Lunch"});
        EXPECT_TRUE(FileExists(SaveFolder() + "Jan022027-0900AM-00\\bob@ex.com-Budget.kto"));
        EXPECT_TRUE(FileExists(SaveFolder() + "Apr012027-0100PM-30\\cy@ex.com-Concert.kto"));

        // The button asks first; Cancel keeps everything.
        Select(list, 0);
        MessageBoxes::Plan(IDCANCEL);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        ExpectMessageBox(0, "Are you sure you want to permanently\nremove the saved message?",
                         "Delete Message", MB_OKCANCEL);
        EXPECT_EQ(Count(list), 1);
        EXPECT_TRUE(FileExists(SaveFolder() + "Dec062026-1217AM-56"));

        // OK removes the message's folder with its files, read-only ones too.
        SetFileAttributesA((SaveFolder() + "Dec062026-1217AM-56\\Ann@ex.com-Lunch.kto").c_str(),
                           FILE_ATTRIBUTE_READONLY);
        WriteWholeFile(SaveFolder() + "Dec062026-1217AM-56\\voice.wav", "copy");
        MessageBoxes::Plan(IDOK);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        EXPECT_EQ(Count(list), 0);
        EXPECT_FALSE(FileExists(SaveFolder() + "Dec062026-1217AM-56"));
        EXPECT_TRUE(FileExists(SaveFolder() + "Jan022027-0900AM-00"));

        // With nothing selected the button deletes nothing.
        MessageBoxes::Plan(IDOK);
        SendMessageA(dialog, WM_COMMAND, IDC_LOAD_DELETE, 0);
        EXPECT_EQ(MessageBoxes::Calls().size(), 3u);
    });
    // Opened again, the hidden messages are back; the deleted one is gone.
    WithDialog([&](HWND, HWND list) {
        EXPECT_EQ(Count(list), 2);
        EXPECT_EQ(Find(list, "Lunch"), -1);
    });
}

TEST_F(LoadMessageDialog, LoadWithoutASelectionLeavesTheComposerAlone) {
    SaveThree();
    SetWindowTextA(Edit(IDC_TO_EDIT), "keep@example.com");
    SetWindowTextA(composeWindows.bodyEditor, "draft");
    WithDialog([&](HWND dialog, HWND list) {
        EXPECT_EQ(Count(list), 3);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_FALSE(IsWindowVisible(dialog)); // ended
    });
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "keep@example.com");
    EXPECT_EQ(TextOf(composeWindows.bodyEditor), "draft");
    EXPECT_EQ(alreadySent, 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(LoadMessageDialog, LoadClearsTheComposerWithoutAskingAndFillsItFromTheFile) {
    SaveThree();
    SetWindowTextA(Edit(IDC_TO_EDIT), "draft@example.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "cc@example.com");
    SetWindowTextA(composeWindows.bodyEditor, "unsent draft");
    htmlFormatting = 1;
    WithDialog([&](HWND dialog, HWND list) {
        Select(list, Find(list, "Concert"));
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_FALSE(IsWindowVisible(dialog)); // ended
    });
    // No "not sent" question; the old message is gone, the saved one is there. Its attachment
    // no longer exists and is left out.
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "cy@ex.com");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), kCcPlaceholder);
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "Concert");
    EXPECT_EQ(TextOf(composeWindows.bodyEditor), "Concert");
    EXPECT_EQ(htmlFormatting, 0);
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_EQ(alreadySent, 0);
}

TEST_F(LoadMessageDialog, NoSaveFolderGivesAnEmptyList) {
    WithDialog([&](HWND, HWND list) { EXPECT_EQ(Count(list), 0); });
    // A file where the save folder belongs.
    WriteWholeFile(folder_ + "save", "not a folder");
    WithDialog([&](HWND, HWND list) { EXPECT_EQ(Count(list), 0); });
}

} // namespace
