// Sending and addressing through Simple MAPI with a real mail program: the system's mapi32
// hands every call to the mail client registered under Software\Clients\Mail, here the test's
// own kestro_test_mail.dll (tests/wine/tools/test_mail_client.cpp), which logs what it receives
// and answers as the test scripts it. The registration lives in the private test prefix and is
// put back as it was after each test.
#include <windows.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/placeholders.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "mail/win/simple_mapi.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

constexpr const char* kMailKey = "Software\\Clients\\Mail";
constexpr const char* kClient = "Kestro Test Mail";

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

// The default value of the mail clients' key; "" when there is none.
std::string DefaultMailClient() {
    char name[256] = {};
    LONG size = sizeof name;
    return RegQueryValueA(HKEY_LOCAL_MACHINE, kMailKey, name, &size) == ERROR_SUCCESS ? name : "";
}

void SetDefaultMailClient(const std::string& name) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, kMailKey, &key);
    if (name.empty()) {
        RegDeleteValueA(key, nullptr);
    } else {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>(name.size() + 1));
    }
    RegCloseKey(key);
}

class SimpleMapi : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        previousClient_ = DefaultMailClient();
        const std::string dll = ProgramFolder() + "kestro_test_mail.dll";
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kMailKey) + "\\" + kClient).c_str(), &key);
        for (const char* value : {"DLLPath", "DLLPathEx"}) {
            RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                           static_cast<DWORD>(dll.size() + 1));
        }
        RegCloseKey(key);
        SetDefaultMailClient(kClient);
        SetEnvironmentVariableA("KESTRO_MAIL_LOG", (folder_ + "mail.log").c_str());
        for (const char* name :
             {"KESTRO_MAIL_LOGON_RESULT", "KESTRO_MAIL_SEND_RESULT", "KESTRO_MAIL_CHOICE"}) {
            SetEnvironmentVariableA(name, nullptr);
        }
        LoadMapi();
    }

    void TearDown() override {
        UnloadMapi();
        SetDefaultMailClient(previousClient_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kMailKey) + "\\" + kClient).c_str());
        MainWindowTest::TearDown();
    }

    // The lines the mail program logged so far; the log starts again.
    std::vector<std::string> TakeLog() {
        const std::string log = ReadWholeFile(folder_ + "mail.log");
        DeleteFileA((folder_ + "mail.log").c_str());
        std::vector<std::string> lines;
        for (size_t start = 0; start < log.size();) {
            const size_t end = log.find('\n', start);
            lines.push_back(log.substr(start, end - start));
            start = end == std::string::npos ? log.size() : end + 1;
        }
        return lines;
    }

    std::string Ui() const { return std::to_string(reinterpret_cast<ULONG_PTR>(window_)); }

    // Send with USEMAPI 1 (command 25000 posted by Send); `dialog` runs in the Message Sent
    // dialog. False when that dialog did not open.
    bool Send(const std::function<void(HWND)>& dialog = nullptr) {
        bool opened = false;
        WhenDialogAppears([&](HWND shown) {
            opened = true;
            if (dialog) {
                dialog(shown);
            }
            SendMessageA(shown, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(window_, WM_COMMAND, IDM_SEND, 0);
        PumpMessages();
        ForgetDialogAction();
        return opened;
    }

    std::string previousClient_;
};

TEST_F(SimpleMapi, SendHandsEveryFieldToTheMailProgramAndConfirms) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetWindowTextA(Edit(IDC_CC_EDIT), "bo@y.net, Cy <cy@z.com> cy@z.com");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "dee@w.org");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Files");
    // A formatted body arrives as its plain text, a dot line and the accent included.
    SetWindowTextA(app.bodyEditor, "Hello Ann,\r\n.\r\ncaf\xe9");
    CHARFORMATA bold = {};
    bold.cbSize = sizeof bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    SendMessageA(app.bodyEditor, EM_SETSEL, 0, 5);
    SendMessageA(app.bodyEditor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    htmlFormatting = 1;
    const std::string voice = folder_ + "voice.wav";
    const std::string notes = folder_ + "notes.txt";
    WriteWholeFile(voice, "RIFF");
    WriteWholeFile(notes, "notes");
    ASSERT_EQ(AddAttachment(voice.c_str()), 1);
    ASSERT_EQ(AddAttachment(notes.c_str()), 1);

    std::string caption;
    EXPECT_TRUE(Send([&](HWND dialog) { caption = TextOf(dialog); }));
    EXPECT_EQ(caption, "Kestro confirmation");
    EXPECT_EQ(alreadySent, 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    std::string lowerFolder = folder_;
    CharLowerA(&lowerFolder[0]);
    const std::vector<std::string> expected = {
        "MAPILogon ui=" + Ui() + " profile=<null> password=<null> flags=3 reserved=0",
        "MAPISendMail session=19269 ui=" + Ui() + " flags=0 reserved=0",
        "message other=0",
        "subject=Files",
        "note=Hello Ann,\\r\\n.\\r\\ncaf\xe9\\r\\n",
        "recipients=4",
        "recipient class=1 name=ann@x.org address=ann@x.org other=0",
        "recipient class=2 name=bo@y.net address=bo@y.net other=0",
        "recipient class=2 name=cy@z.com address=cy@z.com other=0",
        "recipient class=3 name=dee@w.org address=dee@w.org other=0",
        "files=2",
        "file path=" + lowerFolder + "voice.wav position=0 name=<null> type=<null> flags=0",
        "file path=" + lowerFolder + "notes.txt position=0 name=<null> type=<null> flags=0",
        "MAPILogoff session=19269 ui=" + Ui() + " flags=0 reserved=0",
    };
    EXPECT_EQ(TakeLog(), expected);
}

TEST_F(SimpleMapi, NoValidToAddressOrAFailedLogonSendsNothing) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "Ann Lee");
    EXPECT_FALSE(Send());
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "Please enter an e-mail address in the\nTo: address field before sending.");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "To: address field is empty");
    EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(GetFocus(), Edit(IDC_TO_EDIT));
    EXPECT_TRUE(TakeLog().empty());

    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetEnvironmentVariableA("KESTRO_MAIL_LOGON_RESULT", "3");
    MessageBoxes::Reset();
    EXPECT_FALSE(Send());
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "Error Logging on to MAPI service");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "MAPI Error");
    const std::vector<std::string> log = TakeLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("MAPILogon ", 0), 0u);
}

TEST_F(SimpleMapi, AFailedSendIsNamedACancelIsSilentAndTheMessageStays) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetWindowTextA(app.bodyEditor, "draft");
    SetEnvironmentVariableA("KESTRO_MAIL_SEND_RESULT", "2");
    EXPECT_FALSE(Send());
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "The mail program could not send the message (MAPI error 2: failure)");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "MAPI Error");
    // The subject placeholder goes out as "No subject"; the session is closed all the same.
    const std::vector<std::string> log = TakeLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[3], "subject=No subject");
    EXPECT_EQ(log.back().rfind("MAPILogoff ", 0), 0u);

    SetEnvironmentVariableA("KESTRO_MAIL_SEND_RESULT", "1"); // the user cancelled
    EXPECT_FALSE(Send());
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(alreadySent, 0);
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "ann@x.org");
    EXPECT_EQ(TextOf(app.bodyEditor), "draft");
}

TEST_F(SimpleMapi, TheMailProgramsAddressBookWritesTheChosenRecipientsBack) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "old@x.org");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "keep@b.org");
    SetEnvironmentVariableA("KESTRO_MAIL_CHOICE", "1:a@x;2:c@z;1:b@y;2:");
    SendMessageA(window_, WM_COMMAND, IDM_MAPI_ADDRESS, 0);
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "  a@x  b@y");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "  c@z");
    EXPECT_EQ(TextOf(Edit(IDC_BCC_EDIT)), "keep@b.org");
    const std::vector<std::string> expected = {
        "MAPILogon ui=" + Ui() + " profile=<null> password=<null> flags=3 reserved=0",
        "MAPIAddress session=19269 ui=" + Ui() +
            " caption=Kestro common address book editfields=4 labels=TO:|CC:|BCC:|what? flags=2 "
            "reserved=0",
        "recipients=2",
        "recipient class=1 name=old@x.org address=old@x.org other=0",
        "recipient class=3 name=keep@b.org address=keep@b.org other=0",
        "MAPIFreeBuffer choice",
        "MAPILogoff session=19269 ui=" + Ui() + " flags=0 reserved=0",
    };
    EXPECT_EQ(TakeLog(), expected);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(SimpleMapi, WithoutAMailProgramBothCommandsSayHowToGetBack) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetWindowTextA(app.bodyEditor, "draft");
    // No mail client registered, and then no mapi32 entries at all.
    SetDefaultMailClient("");
    EXPECT_FALSE(Send());
    SendMessageA(window_, WM_COMMAND, IDM_MAPI_ADDRESS, 0);
    SetDefaultMailClient(kClient);
    UnloadMapi();
    EXPECT_FALSE(Send());
    ASSERT_EQ(MessageBoxes::Calls().size(), 3u);
    for (const MessageBoxCall& call : MessageBoxes::Calls()) {
        EXPECT_EQ(call.caption, "Simple MAPI not available");
        EXPECT_EQ(call.text.rfind("No mail program on this computer offers Simple MAPI", 0), 0u);
        EXPECT_NE(call.text.find("\"use SMTP account\" in the Email Settings"), std::string::npos);
    }
    EXPECT_NE(MessageBoxes::Calls()[1].text.find("address book"), std::string::npos);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "ann@x.org");
    EXPECT_EQ(TextOf(app.bodyEditor), "draft");
    EXPECT_EQ(alreadySent, 0);
}

} // namespace
