// Saving the composed message through the real main window (the Save Message command) and
// loading a ".kto" file back into the composer: the bytes on disk, the copies of the
// attachments, the folder of a save, and files that are damaged.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/placeholders.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "mail/win/message_sent_dialog.h"
#include "mail/win/send_preparation.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "store/saved_message_file.h"
#include "store/saved_message_names.h"
#include "store/win/message_store.h"
#include "support/harness.h"

namespace {

std::string Binary(size_t count, unsigned seed) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        bytes += static_cast<char>((i * 31 + seed + i / 253) & 0xFF);
    }
    return bytes + "\r\n\n\x1a\r";
}

SaveTime Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SaveTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

bool SameSecond(const SaveTime& a, const SaveTime& b) {
    return MessageFolderName(a) == MessageFolderName(b);
}

// The names of the entries of a folder (its path ends with a backslash), "." and ".." left out.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return names;
}

DWORD CALLBACK CollectRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<size_t>(count));
    *done = count;
    return 0;
}

class SavedMessages : public MainWindowTest {
  protected:
    std::string InitialSettingsFile() const override {
        return "VERSION=20\nUSEMAPI=0\nUSERNAME=Ann Lee\nMAILFROM=ann@example.com\n"
               "SERVERNAME=127.0.0.1\nSMTPPORT=25\nX=50\nY=40\nWIDTH=472\nHEIGHT=553\n";
    }

    std::string SaveFolder() const { return folder_ + "save\\"; }

    void Fill(int editId, const char* text) const { SetWindowTextA(Edit(editId), text); }

    std::string Field(int editId) const { return TextOf(Edit(editId)); }

    std::string BodyText() const { return TextOf(composeWindows.bodyEditor); }

    std::string BodyRtf() const {
        std::string rtf;
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectRtf};
        SendMessageA(composeWindows.bodyEditor, EM_STREAMOUT, SF_RTF,
                     reinterpret_cast<LPARAM>(&stream));
        return rtf;
    }

    CHARFORMATA FormatAt(int position) const {
        SendMessageA(composeWindows.bodyEditor, EM_SETSEL, position, position + 1);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessageA(composeWindows.bodyEditor, EM_GETCHARFORMAT, SCF_SELECTION,
                     reinterpret_cast<LPARAM>(&format));
        return format;
    }

    std::string MakeFile(const std::string& name, const std::string& bytes) const {
        WriteWholeFile(folder_ + name, bytes);
        return folder_ + name;
    }

    void Save(int silent) const {
        SendMessageA(window_, WM_COMMAND, IDM_SAVE_MESSAGE, silent);
        PumpMessages();
    }

    // New Message on a message counted as sent: cleared without the question.
    void NewMessage() const {
        alreadySent = 1;
        SendMessageA(window_, WM_COMMAND, IDM_NEW_MESSAGE, 0);
        PumpMessages();
    }

    void Load(const std::string& path) const {
        LoadMessage(path.c_str());
        PumpMessages();
    }

    // The one message folder of the save folder, with a trailing backslash.
    std::string OnlyMessageFolder() const {
        const std::vector<std::string> folders = Entries(SaveFolder());
        EXPECT_EQ(folders.size(), 1u);
        return folders.empty() ? "" : SaveFolder() + folders[0] + "\\";
    }
};

TEST_F(SavedMessages, AFormattedMessageWithTwoAttachmentsIsSavedAndLoadedBackWhole) {
    const std::string voice = Binary(5000, 1);
    const std::string snap = Binary(9000, 2);
    ASSERT_EQ(AddAttachment(MakeFile("Voice.wav", voice).c_str()), 1);
    ASSERT_EQ(AddAttachment(MakeFile("snap shot.jpg", snap).c_str()), 1);
    Fill(IDC_TO_EDIT, "bo@example.org, cy@example.net");
    Fill(IDC_CC_EDIT, "dee@example.com");
    Fill(IDC_BCC_EDIT, "eve@example.com");
    Fill(IDC_SUBJECT_EDIT, "Lunch: Friday? Bring maps");
    SetWindowTextA(composeWindows.bodyEditor, "Lunch at noon\r\nBring the maps");
    SendMessageA(composeWindows.bodyEditor, EM_SETSEL, 0, 5);
    SendMessageA(Child(IDC_BOLD_BUTTON), BM_CLICK, 0, 0);
    PumpMessages();
    ASSERT_EQ(htmlFormatting, 1);
    const std::string rtf = BodyRtf();

    MessageBoxes::Plan(IDOK);
    const SaveTime before = Now();
    Save(0);
    const SaveTime after = Now();

    const std::string folder = OnlyMessageFolder();
    ASSERT_FALSE(folder.empty());
    const std::string folderName =
        folder.substr(SaveFolder().size(), folder.size() - SaveFolder().size() - 1);
    const SaveTime when = folderName == MessageFolderName(before) ? before : after;
    EXPECT_EQ(folderName, MessageFolderName(when));
    const std::string date = SaveDateText(when);

    // The report names the first recipient, the subject and the date.
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File -> Save");
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              FormatSaveReport("bo@example.org", "Lunch: Friday? Bring maps", date.c_str()));

    // The file, named after the first address and the subject without ':' and '?'.
    const std::string kto = folder + "bo@example.org-Lunch Friday Bring maps.kto";
    ASSERT_TRUE(FileExists(kto));
    const std::string bytes = ReadWholeFile(kto);
    const std::string messageFolder = folder.substr(0, folder.size() - 1);
    const std::string header = "FROMemailann@example.com\r\nFROMnameAnn Lee\r\n"
                               "TO2\r\nbo@example.org\r\ncy@example.net\r\n"
                               "CC1\r\ndee@example.com\r\nBCC1\r\neve@example.com\r\n"
                               "SUBJECTLunch: Friday? Bring maps\r\nATTACHMENTS2\r\n" +
                               messageFolder + "\\voice.wav\r\n" + messageFolder +
                               "\\snap shot.jpg\r\nFLAGHTML=1\r\nDATE=" + date + "\r\nBODY\r\n";
    ASSERT_EQ(bytes.substr(0, header.size()), header);
    // The body is the editor's RTF with every LF stored as CR LF: its CR LF line ends are on
    // disk as CR CR LF.
    const std::string body = bytes.substr(header.size());
    EXPECT_EQ(body.compare(0, 6, "{\\rtf1"), 0);
    EXPECT_EQ(UndoTextModeBytes(body.data(), body.size()), rtf);
    std::string stored;
    AppendTextModeBytes(stored, rtf.data(), rtf.size());
    EXPECT_EQ(body, stored);
    ASSERT_NE(rtf.find("\r\n"), std::string::npos);
    EXPECT_NE(body.find("\r\r\n"), std::string::npos);

    // The copies hold the attached bytes.
    EXPECT_EQ(ReadWholeFile(folder + "voice.wav"), voice);
    EXPECT_EQ(ReadWholeFile(folder + "snap shot.jpg"), snap);

    // Cleared, then loaded again.
    NewMessage();
    ASSERT_EQ(AttachmentCount(), 0);
    ASSERT_EQ(htmlFormatting, 0);
    Load(kto);
    EXPECT_EQ(Field(IDC_TO_EDIT), "bo@example.org cy@example.net");
    EXPECT_EQ(Field(IDC_CC_EDIT), "dee@example.com");
    EXPECT_EQ(Field(IDC_BCC_EDIT), "eve@example.com");
    EXPECT_EQ(Field(IDC_SUBJECT_EDIT), "Lunch: Friday? Bring maps");
    EXPECT_EQ(htmlFormatting, 1);
    ASSERT_EQ(AttachmentCount(), 2);
    EXPECT_EQ(std::string(attachmentTable.slots[0].path), Lower(folder + "voice.wav"));
    EXPECT_EQ(std::string(attachmentTable.slots[1].path), Lower(folder + "snap shot.jpg"));
    EXPECT_EQ(BodyText(), "Lunch at noon\r\nBring the maps");
    EXPECT_NE(FormatAt(0).dwEffects & CFE_BOLD, 0u);
    EXPECT_NE(FormatAt(4).dwEffects & CFE_BOLD, 0u);
    EXPECT_EQ(FormatAt(5).dwEffects & CFE_BOLD, 0u);
    EXPECT_STREQ(FormatAt(8).szFaceName, "Arial");

    // Sending it again builds the HTML alternative from the loaded body.
    ASSERT_TRUE(PrepareOutgoingMessage());
    EXPECT_EQ(outgoingMessage.alternative, 1);
    ASSERT_NE(outgoingMessage.htmlPart, nullptr);
    const std::string html(outgoingMessage.htmlPart, outgoingMessage.htmlLength);
    EXPECT_NE(html.find("text/html"), std::string::npos);
    EXPECT_NE(html.find("Lunch"), std::string::npos);
    EXPECT_EQ(outgoingMessage.attachmentCount, 2);
    ResetOutgoingMessage(outgoingMessage);
}

TEST_F(SavedMessages, AMessageWithoutAddressIsNamedAfterItsSubjectAndASilentSaveSaysNothing) {
    // The fields show their placeholders and the body is empty.
    Save(1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    const std::string folder = OnlyMessageFolder();
    ASSERT_FALSE(folder.empty());
    const std::vector<std::string> files = Entries(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], "No Subject.kto");
    const std::string bytes = ReadWholeFile(folder + files[0]);
    const size_t date = bytes.find("DATE=");
    ASSERT_NE(date, std::string::npos);
    EXPECT_EQ(bytes.substr(0, date), "FROMemailann@example.com\r\nFROMnameAnn Lee\r\nTO0\r\nCC0\r\n"
                                     "BCC0\r\nSUBJECTNo Subject\r\nATTACHMENTS0\r\nFLAGHTML=0\r\n");
    // The empty body was given a blank, as for a send.
    EXPECT_EQ(BodyText(), " ");
    EXPECT_NE(bytes.find("\r\nBODY\r\n{\\rtf1"), std::string::npos);

    // A subject without an address, with an accented letter that survives the load.
    Fill(IDC_SUBJECT_EDIT, "Caf\xe9 <menu>");
    Save(1);
    NewMessage();
    std::string saved;
    for (const std::string& name : Entries(SaveFolder())) {
        if (FileExists(SaveFolder() + name + "\\Caf\xe9 menu.kto")) {
            saved = SaveFolder() + name + "\\Caf\xe9 menu.kto";
        }
    }
    ASSERT_FALSE(saved.empty());
    Load(saved);
    EXPECT_EQ(Field(IDC_SUBJECT_EDIT), "Caf\xe9 <menu>");
    EXPECT_EQ(Field(IDC_TO_EDIT), kToPlaceholder);
}

TEST_F(SavedMessages, TwoAttachmentsOfOneNameAreBothCopied) {
    // Two attached files of the same name from different folders: both copies are kept.
    CreateDirectoryA((folder_ + "a").c_str(), nullptr);
    CreateDirectoryA((folder_ + "b").c_str(), nullptr);
    ASSERT_EQ(AddAttachment(MakeFile("a\\notes.txt", "from a").c_str()), 1);
    ASSERT_EQ(AddAttachment(MakeFile("b\\NOTES.TXT", "from b").c_str()), 1);
    Save(1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    const std::string folder = OnlyMessageFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(ReadWholeFile(folder + "notes.txt"), "from a");
    EXPECT_EQ(ReadWholeFile(folder + "notes(2).txt"), "from b");

    NewMessage();
    Load(folder + "No Subject.kto");
    ASSERT_EQ(AttachmentCount(), 2);
    EXPECT_EQ(std::string(attachmentTable.slots[1].path), Lower(folder + "notes(2).txt"));
}

TEST_F(SavedMessages, SavesInTheSameSecondShareOneFolderAndKeepAnAttachmentThatIsItsOwnCopy) {
    Fill(IDC_TO_EDIT, "bo@example.org");
    // The clock may turn to the next second between the saves; then they are made again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        RemoveFolder(SaveFolder());
        ClearAttachments();
        ASSERT_EQ(AddAttachment(MakeFile("note.txt", "first").c_str()), 1);
        Fill(IDC_SUBJECT_EDIT, "one");
        const SaveTime before = Now();
        Save(1);
        const std::string folder = SaveFolder() + MessageFolderName(before) + "\\";
        WriteWholeFile(folder + "keep.txt", "precious");
        ASSERT_EQ(AddAttachment((folder + "keep.txt").c_str()), 1);
        Fill(IDC_SUBJECT_EDIT, "two");
        Save(1); // copies keep.txt onto itself when the second has not turned
        Save(1); // the same name again replaces the file
        if (!SameSecond(before, Now())) {
            continue;
        }
        EXPECT_EQ(OnlyMessageFolder(), folder);
        std::vector<std::string> files = Entries(folder);
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files,
                  (std::vector<std::string>{"bo@example.org-one.kto", "bo@example.org-two.kto",
                                            "keep.txt", "note.txt"}));
        EXPECT_EQ(ReadWholeFile(folder + "note.txt"), "first");
        EXPECT_EQ(ReadWholeFile(folder + "keep.txt"), "precious");
        EXPECT_TRUE(MessageBoxes::Calls().empty());
        return;
    }
    GTEST_SKIP() << "every round of saves straddled a second";
}

TEST_F(SavedMessages, AFailedSaveIsReportedAndNeverPraised) {
    Fill(IDC_TO_EDIT, "bo@example.org");
    Fill(IDC_SUBJECT_EDIT, "Lost?");
    // A plain file where the save folder belongs: no folder, so no file can be written.
    WriteWholeFile(folder_ + "save", "in the way");
    Save(0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File -> Save");
    EXPECT_EQ(MessageBoxes::Calls()[0].text.rfind("The message could not be saved to\n", 0), 0u);
    EXPECT_NE(MessageBoxes::Calls()[0].text.find("bo@example.org-Lost.kto"), std::string::npos);
    EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    // The save after a send is told too.
    Save(1);
    ASSERT_EQ(MessageBoxes::Calls().size(), 2u);
    EXPECT_EQ(MessageBoxes::Calls()[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    DeleteFileA((folder_ + "save").c_str());

    // An attachment whose copy cannot be made (a folder of its name is in the way in every
    // message folder of the next seconds): the message is saved, and the user is told which.
    ASSERT_EQ(AddAttachment(MakeFile("clip.avi", "frames").c_str()), 1);
    CreateDirectoryA(SaveFolder().c_str(), nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME stamp;
    SystemTimeToFileTime(&now, &stamp);
    for (int second = 0; second < 5; ++second) {
        ULARGE_INTEGER later = {{stamp.dwLowDateTime, stamp.dwHighDateTime}};
        later.QuadPart += static_cast<ULONGLONG>(second) * 10000000ULL;
        const FILETIME next = {later.LowPart, later.HighPart};
        SYSTEMTIME t;
        FileTimeToSystemTime(&next, &t);
        const std::string folder =
            SaveFolder() +
            MessageFolderName(SaveTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\clip.avi").c_str(), nullptr);
    }
    MessageBoxes::Reset();
    Save(0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "The message was saved, but these attachments could not be copied into its "
              "folder:\n\n" +
                  Lower(folder_ + "clip.avi"));
    EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(SavedMessages, SaveTickedInTheMessageSentDialogSavesSilentlyAndKeepsTheMessageSent) {
    Fill(IDC_TO_EDIT, "bo@example.org");
    Fill(IDC_SUBJECT_EDIT, "Sent");
    // The dialog opens while the session closes; its OK posts the save.
    sendState = 0x80008;
    WhenDialogAppears([](HWND dialog) {
        SendMessageA(GetDlgItem(dialog, IDC_MS_SAVE), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(dialog, IDC_MS_CLEAR), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    DialogBoxParamA(app.instance, "MESSAGE_SENT", window_, MessageSentDialogProc, 0);
    sendState = 0;
    PumpMessages();
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    const std::string folder = OnlyMessageFolder();
    EXPECT_TRUE(FileExists(folder + "bo@example.org-Sent.kto"));
    // Saving does not make the message unsent: New Message still clears without asking.
    EXPECT_EQ(alreadySent, 1);
}

TEST_F(SavedMessages, NoSaveWhileTheMessageIsBeingSent) {
    Fill(IDC_TO_EDIT, "bo@example.org");
    sendState = 0x4; // connecting: the session reads the snapshot
    Save(1);
    sendState = 0;
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "The message is being sent.\nSave it when the send has finished.");
    EXPECT_FALSE(FileExists(SaveFolder()));
}

TEST_F(SavedMessages, DamagedFilesLoadWhatCanBeReadAndNeverCrash) {
    const std::string file = folder_ + "damaged.kto";
    const std::string good = ReadWholeFile(KESTRO_TEST_DATA "/store/lunch_friday.kto");
    ASSERT_FALSE(good.empty());

    // Cut short anywhere: whatever came before the cut is there.
    for (size_t length = 0; length <= good.size(); length += 23) {
        NewMessage();
        WriteWholeFile(file, good.substr(0, length));
        Load(file);
    }
    // Cut inside the RTF: the editor shows the text it could read.
    NewMessage();
    WriteWholeFile(file, good.substr(0, good.find(" at noon")));
    Load(file);
    EXPECT_EQ(BodyText(), "Lunch");

    // A body the editor does not take as RTF is shown as the text it is.
    NewMessage();
    WriteWholeFile(file, "TO1\r\nbo@example.org\r\nBODY\r\nplain words\r\nno rtf at all");
    Load(file);
    EXPECT_EQ(Field(IDC_TO_EDIT), "bo@example.org");
    EXPECT_NE(BodyText().find("plain words"), std::string::npos);
    EXPECT_NE(BodyText().find("no rtf at all"), std::string::npos);

    // Junk bytes, an empty file and a missing one leave a sound composer.
    uint32_t seed = 99;
    for (int round = 0; round < 20; ++round) {
        std::string junk = round % 2 ? "TO3\r\n" : "ATTACHMENTS5\r\n";
        for (int i = 0; i < 3000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            junk += static_cast<char>(seed >> 24);
        }
        NewMessage();
        WriteWholeFile(file, junk);
        Load(file);
        EXPECT_LE(Field(IDC_TO_EDIT).size(), static_cast<size_t>(kFieldTextLength - 1));
    }
    NewMessage();
    WriteWholeFile(file, "");
    Load(file);
    Load(folder_ + "missing.kto");
    EXPECT_EQ(Field(IDC_TO_EDIT), kToPlaceholder);
    EXPECT_EQ(BodyText(), "");
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

} // namespace
