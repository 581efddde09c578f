// The attachment table and strip through the real main window: the Attach File command, the
// strip's keys, mouse and pop-up commands, and dropped files.
#include <windows.h>

#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/strip_geometry.h"
#include "compose/win/current_message.h"
#include "compose/win/attachments.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

class AttachmentStrip : public MainWindowTest {
  protected:
    HWND Strip() const { return composeWindows.attachStrip; }

    std::string MakeFile(const std::string& name, const std::string& bytes = "some bytes") {
        const std::string path = folder_ + name;
        WriteWholeFile(path, bytes);
        return path;
    }

    // Runs the Attach File command and picks `path` in its open-file dialog.
    void AttachThroughTheDialog(const std::string& path) {
        bool seen = false;
        WhenDialogAppears([&](HWND dialog) {
            seen = true;
            char title[64] = {};
            GetWindowTextA(dialog, title, sizeof title);
            EXPECT_STREQ(title, "Attach File");
            HWND name = GetDlgItem(dialog, 0x47c); // cmb13, the file name box
            if (!name) {
                name = GetDlgItem(dialog, 0x480); // edt1 in the older layout
            }
            ASSERT_NE(name, nullptr);
            SetWindowTextA(name, path.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(window_, WM_COMMAND, IDM_ATTACH_FILE, 0);
        PumpMessages();
        EXPECT_TRUE(seen);
    }

    std::string PathAt(int slot) const { return attachmentTable.slots[slot].path; }

    StripMetrics Metrics() const {
        HDC dc = GetDC(Strip());
        TEXTMETRICA text = {};
        GetTextMetricsA(dc, &text);
        ReleaseDC(Strip(), dc);
        return {static_cast<int>(text.tmAveCharWidth), static_cast<int>(text.tmHeight),
                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    }

    // The centre of entry `index`'s icon, in the strip's client coordinates.
    LPARAM PointOnEntry(int index) const {
        RECT client;
        GetClientRect(Strip(), &client);
        const StripMetrics metrics = Metrics();
        const StripRect r =
            StripHitRect(ComputeStripGrid(client.right, metrics), metrics, index, 0);
        return MAKELPARAM(r.left + metrics.iconWidth / 2, r.top + metrics.iconHeight / 2);
    }

    void Click(int index, WPARAM keys = MK_LBUTTON) {
        SendMessageA(Strip(), WM_LBUTTONDOWN, keys, PointOnEntry(index));
        SendMessageA(Strip(), WM_LBUTTONUP, 0, PointOnEntry(index));
    }

    HWND ScrollBar() const { return FindWindowExA(Strip(), nullptr, "SCROLLBAR", nullptr); }
};

TEST_F(AttachmentStrip, StoresCapitalsInLowerCaseAndRefusesTheSamePathInAnyCase) {
    const std::string report = MakeFile("Report.TXT");
    AttachThroughTheDialog(report);
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(PathAt(0), Lower(report));
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(Lower(programSettings.attachDir), Lower(folder_)); // the folder, backslash included

    AttachThroughTheDialog(folder_ + "REPORT.txt");
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "Attachment Already Exists or Maximum Attachments Reached!");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File Attachment Error");
    EXPECT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(AddAttachment((folder_ + "rEpOrT.tXt").c_str()), 0);
    EXPECT_EQ(AddAttachment((folder_ + "missing.txt").c_str()), 0);
    EXPECT_EQ(AttachmentCount(), 1);

    // An empty file is taken silently and not added.
    MessageBoxes::Reset();
    AttachThroughTheDialog(MakeFile("empty.txt", ""));
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(AttachmentCount(), 1);
}

TEST_F(AttachmentStrip, AcceptsTheSixtyFourthFileAndRefusesTheSixtyFifth) {
    for (int i = 0; i < 63; ++i) {
        ASSERT_EQ(AddAttachment(MakeFile("file" + std::to_string(i) + ".txt").c_str()), 1) << i;
    }
    AttachThroughTheDialog(MakeFile("file63.txt"));
    EXPECT_EQ(AttachmentCount(), 64);
    EXPECT_TRUE(MessageBoxes::Calls().empty());

    AttachThroughTheDialog(MakeFile("file64.txt"));
    EXPECT_EQ(AttachmentCount(), 64);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "Attachment Already Exists or Maximum Attachments Reached!");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File Attachment Error");
    EXPECT_EQ(PathAt(63), Lower(folder_ + "file63.txt"));

    // Every addition scrolled the strip to its end, where the newest entries are.
    RECT client;
    GetClientRect(Strip(), &client);
    int minimum = -1;
    int maximum = -1;
    GetScrollRange(ScrollBar(), SB_CTL, &minimum, &maximum);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, StripScrollMaximum(ComputeStripGrid(client.right, Metrics()), 64));
    EXPECT_GT(maximum, 0);
    EXPECT_EQ(GetScrollPos(ScrollBar(), SB_CTL), maximum);
    // The scroll bar runs along the strip's right edge.
    const RECT bar = RectInParent(ScrollBar());
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(bar.bottom - bar.top, client.bottom);
}

TEST_F(AttachmentStrip, DeleteTakesTheClickedEntryAndRemoveAsksForEveryOneSelectedWithCtrl) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
        ASSERT_EQ(AddAttachment(MakeFile(name).c_str()), 1);
    }
    PumpMessages();
    Click(0);
    EXPECT_EQ(GetFocus(), Strip());
    SendMessageA(Strip(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty()); // Delete does not ask
    ASSERT_EQ(AttachmentCount(), 3);
    EXPECT_EQ(PathAt(0), Lower(folder_ + "b.txt"));
    EXPECT_EQ(attachmentTable.slots[0].selected, 0u);

    Click(0);
    Click(2, MK_LBUTTON | MK_CONTROL);
    Click(1, MK_LBUTTON | MK_CONTROL);
    Click(1, MK_LBUTTON | MK_CONTROL); // a second Ctrl click deselects
    EXPECT_EQ(attachmentTable.slots[1].selected, 0u);

    SendMessageA(Strip(), WM_COMMAND, IDM_ATTACH_REMOVE, 0); // Cancel: nothing goes
    EXPECT_EQ(AttachmentCount(), 3);
    MessageBoxes::Plan(IDOK);
    SendMessageA(Strip(), WM_COMMAND, IDM_ATTACH_REMOVE, 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 2u);
    ExpectMessageBox(1, "Remove the Selected Attachment(s)?", "File Attachment Removal",
                     MB_OKCANCEL | MB_ICONQUESTION);
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(PathAt(0), Lower(folder_ + "c.txt"));

    // A plain click beside the entries clears the selection; the strip had the focus.
    Click(0);
    SendMessageA(Strip(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 70));
    EXPECT_EQ(attachmentTable.slots[0].selected, 0u);
    // Without the focus, such a click only brings the focus back and keeps the selection.
    Click(0);
    SetFocus(composeWindows.bodyEditor);
    SendMessageA(Strip(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 70));
    EXPECT_EQ(attachmentTable.slots[0].selected, 1u);
    EXPECT_EQ(GetFocus(), Strip());
}

TEST_F(AttachmentStrip, DoubleClickOnAProgramAsksBeforeOpeningIt) {
    const std::string setup = MakeFile("Setup.exe", "MZ not really a program");
    ASSERT_EQ(AddAttachment(setup.c_str()), 1);
    PumpMessages();
    MessageBoxes::Plan(IDCANCEL);
    SendMessageA(Strip(), WM_LBUTTONDBLCLK, MK_LBUTTON, PointOnEntry(0));
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "Open File Attachment?", Lower(setup), MB_OKCANCEL);
    EXPECT_EQ(attachmentTable.slots[0].selected, 1u);
}

TEST_F(AttachmentStrip, DroppedFoldersShortcutsAndEmptyFilesAreIgnored) {
    const std::string sub = folder_ + "Sub Folder";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string note = MakeFile("Note.txt");
    const std::string link = MakeFile("tool.lnk", "not a real shortcut");
    const std::string empty = MakeFile("empty.dat", "");
    const std::string song = MakeFile("song.mp3", "ID3");
    SendMessageA(Strip(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({sub, note, link, empty, note, song})), 0);
    PumpMessages();
    EXPECT_TRUE(MessageBoxes::Calls().empty()); // the duplicate is not reported either
    ASSERT_EQ(AttachmentCount(), 2);
    EXPECT_EQ(PathAt(0), Lower(note));
    EXPECT_EQ(PathAt(1), Lower(song));
    EXPECT_GT(RectInParent(Strip()).bottom - RectInParent(Strip()).top, 0);
}

TEST_F(AttachmentStrip, NewMessageEmptiesTheTableAndHidesTheStrip) {
    ASSERT_EQ(AddAttachment(MakeFile("notes.txt").c_str()), 1);
    PumpMessages();
    ClearMessage();
    SendMessageA(window_, WM_USER + 3, 0, 0);
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_EQ(PathAt(0), "");
    EXPECT_EQ(RectInParent(Strip()).bottom - RectInParent(Strip()).top, 0);
}

} // namespace
