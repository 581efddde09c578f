// Sending and addressing through Simple MAPI with a mail program that really receives the
// calls: the system's mapi32 hands them to the mail client registered under
// Software\Clients\Mail, here kestro_test_mail.dll (tests/wine/tools/test_mail_client.cpp),
// which logs what it receives and answers as scripted. The registration lives in the private
// test prefix and is put back as it was after each test.
#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/win/attachments.h"
#include "compose/win/compose_windows.h"
#include "compose/win/current_message.h"
#include "mail/win/simple_mapi.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

const std::string kMailKey = "Software\\Clients\\Mail";

// Sets (or, with "", removes) a value of the key under HKEY_LOCAL_MACHINE; returns the old one.
std::string SwapValue(const std::string& key, const char* name, const std::string& value) {
    char old[MAX_PATH] = {};
    DWORD size = sizeof old;
    RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, old, &size);
    if (value.empty()) {
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), name);
    } else {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    return old;
}

class SimpleMapi : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dll = exe;
        dll = dll.substr(0, dll.rfind('\\') + 1) + "kestro_test_mail.dll";
        SwapValue(kMailKey + "\\Kestro Test Mail", "DLLPath", dll);
        SwapValue(kMailKey + "\\Kestro Test Mail", "DLLPathEx", dll);
        previousClient_ = SwapValue(kMailKey, nullptr, "Kestro Test Mail");
        SetEnvironmentVariableA("KESTRO_MAIL_LOG", (folder_ + "mail.log").c_str());
        for (const char* name : {"KESTRO_MAIL_LOGON_RESULT", "KESTRO_MAIL_SEND_RESULT"}) {
            SetEnvironmentVariableA(name, nullptr);
        }
        LoadMapi();
    }

    void TearDown() override {
        UnloadMapi();
        SwapValue(kMailKey, nullptr, previousClient_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kMailKey + "\\Kestro Test Mail").c_str());
        MainWindowTest::TearDown();
    }

    // The lines the mail program logged since the last call.
    std::vector<std::string> TakeLog() {
        const std::string log = ReadWholeFile(folder_ + "mail.log");
        DeleteFileA((folder_ + "mail.log").c_str());
        std::vector<std::string> lines;
        for (size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos;
             start = end + 1) {
            lines.push_back(log.substr(start, end - start));
        }
        return lines;
    }

    // A call's name, session and UI parameter (the main window) as the mail program logs them.
    std::string Call(const char* name) const {
        return name + std::string(std::strcmp(name, "MAPILogon") ? " session=19269" : "") +
               " ui=" + std::to_string(reinterpret_cast<ULONG_PTR>(window_));
    }

    // Send with USEMAPI 1; true when the Message Sent dialog opened (and was cancelled).
    bool Send() {
        bool confirmed = false;
        WhenDialogAppears([&](HWND dialog) {
            confirmed = TextOf(dialog) == "Kestro confirmation";
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(window_, WM_COMMAND, IDM_SEND, 0);
        PumpMessages();
        ForgetDialogAction();
        return confirmed;
    }

    // The text and caption of the only message box shown since the last call.
    std::string OnlyMessage() {
        const std::vector<MessageBoxCall> calls = MessageBoxes::Calls();
        MessageBoxes::Reset();
        return calls.size() == 1 ? calls[0].text + " / " + calls[0].caption
                                 : std::to_string(calls.size()) + " messages";
    }

    std::string previousClient_;
};

TEST_F(SimpleMapi, SendHandsEveryFieldToTheMailProgramAndConfirms) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetWindowTextA(Edit(IDC_CC_EDIT), "bo@y.net, Cy <cy@z.com> cy@z.com");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "dee@w.org");
    // A formatted body arrives as its plain text, a dot line and the accent included.
    SetWindowTextA(composeWindows.bodyEditor, "Hello Ann,\r\n.\r\ncaf\xe9");
    CHARFORMATA bold = {};
    bold.cbSize = sizeof bold;
    bold.dwMask = bold.dwEffects = CFM_BOLD;
    SendMessageA(composeWindows.bodyEditor, EM_SETSEL, 0, 5);
    SendMessageA(composeWindows.bodyEditor, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&bold));
    htmlFormatting = 1;
    std::string folder = folder_;
    CharLowerA(&folder[0]); // the attachment table keeps its paths in lower case
    for (const char* name : {"voice.wav", "notes.txt"}) {
        WriteWholeFile(folder + name, name);
        ASSERT_EQ(AddAttachment((folder + name).c_str()), 1);
    }
    EXPECT_TRUE(Send());
    EXPECT_EQ(alreadySent, 1);
    EXPECT_EQ(OnlyMessage(), "0 messages");
    const std::string file = " position=0 name=<null> type=<null> flags=0";
    const std::vector<std::string> expected = {
        Call("MAPILogon") + " profile=<null> password=<null> flags=3 reserved=0",
        Call("MAPISendMail") + " flags=0 reserved=0",
        "message other=0",
        "subject=No subject", // for the placeholder
        "note=Hello Ann,\\r\\n.\\r\\ncaf\xe9\\r\\n",
        "recipients=4",
        "recipient class=1 name=ann@x.org address=ann@x.org other=0",
        "recipient class=2 name=bo@y.net address=bo@y.net other=0",
        "recipient class=2 name=cy@z.com address=cy@z.com other=0",
        "recipient class=3 name=dee@w.org address=dee@w.org other=0",
        "files=2",
        "file path=" + folder + "voice.wav" + file,
        "file path=" + folder + "notes.txt" + file,
        Call("MAPILogoff") + " flags=0 reserved=0",
    };
    EXPECT_EQ(TakeLog(), expected);
}

TEST_F(SimpleMapi, FailuresAreToldAndTheMessageStays) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "Ann Lee");
    SetWindowTextA(composeWindows.bodyEditor, "draft");
    EXPECT_FALSE(Send());
    EXPECT_EQ(OnlyMessage(), "Please enter an e-mail address in the\nTo: address field before "
                             "sending. / To: address field is empty");
    EXPECT_EQ(GetFocus(), Edit(IDC_TO_EDIT));
    EXPECT_TRUE(TakeLog().empty());

    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    SetEnvironmentVariableA("KESTRO_MAIL_LOGON_RESULT", "3");
    EXPECT_FALSE(Send());
    EXPECT_EQ(OnlyMessage(), "Error Logging on to MAPI service / MAPI Error");
    EXPECT_EQ(TakeLog().size(), 1u); // the logon alone

    // A failed send names the error; the session is closed all the same.
    SetEnvironmentVariableA("KESTRO_MAIL_LOGON_RESULT", "0");
    SetEnvironmentVariableA("KESTRO_MAIL_SEND_RESULT", "2");
    EXPECT_FALSE(Send());
    EXPECT_EQ(OnlyMessage(), "The mail program could not send the message (MAPI error 2: "
                             "failure) / MAPI Error");
    EXPECT_EQ(TakeLog().back(), Call("MAPILogoff") + " flags=0 reserved=0");

    SetEnvironmentVariableA("KESTRO_MAIL_SEND_RESULT", "1"); // the user cancelled: silence
    EXPECT_FALSE(Send());
    EXPECT_EQ(OnlyMessage(), "0 messages");
    EXPECT_EQ(alreadySent, 0);
    EXPECT_EQ(TextOf(composeWindows.bodyEditor), "draft");
}

// Kestro's address book hands over when "MAPI Address Book" is chosen in its drop-down (it
// applies its recipients first), and at once with ALWAYS_ADDRESS_MAPI.
TEST_F(SimpleMapi, TheMailProgramsAddressBookWritesTheChosenRecipientsBack) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "old@x.org");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "keep@b.org");
    SetEnvironmentVariableA("KESTRO_MAIL_CHOICE", "1 a@x 2 c@z 1 b@y 2 -");
    WhenDialogAppears([](HWND book) {
        SendDlgItemMessageA(book, IDC_AB_SOURCE, CB_SETCURSEL, 1, 0);
        SendMessageA(book, WM_COMMAND, MAKEWPARAM(IDC_AB_SOURCE, CBN_SELCHANGE), 0);
    });
    SendMessageA(composeWindows.addressPanel, WM_COMMAND, IDC_TO_LABEL, 0);
    PumpMessages();
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "  a@x  b@y");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "  c@z");
    EXPECT_EQ(TextOf(Edit(IDC_BCC_EDIT)), "keep@b.org  ");
    const std::vector<std::string> expected = {
        Call("MAPILogon") + " profile=<null> password=<null> flags=3 reserved=0",
        Call("MAPIAddress") + " caption=Kestro common address book editfields=4 "
                              "labels=TO:|CC:|BCC:|what? flags=2 reserved=0",
        "recipients=2",
        "recipient class=1 name=old@x.org address=old@x.org other=0",
        "recipient class=3 name=keep@b.org address=keep@b.org other=0",
        "MAPIFreeBuffer choice",
        Call("MAPILogoff") + " flags=0 reserved=0",
    };
    EXPECT_EQ(TakeLog(), expected);
    EXPECT_EQ(programSettings.alwaysAddressMapi, 0);

    programSettings.alwaysAddressMapi = 1;
    SendMessageA(composeWindows.addressPanel, WM_COMMAND, IDC_CC_LABEL, 0);
    PumpMessages();
    EXPECT_EQ(TakeLog().at(1).rfind("MAPIAddress ", 0), 0u);
    EXPECT_EQ(programSettings.alwaysAddressMapi, 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(SimpleMapi, WithoutAMailProgramBothCommandsSayHowToGetBack) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@x.org");
    const auto told = [&](const char* what) {
        const std::string message = OnlyMessage();
        return message.find(what) != std::string::npos &&
               message.find("\"use SMTP account\" in the Email Settings") != std::string::npos &&
               message.find(" / Simple MAPI not available") != std::string::npos;
    };
    SwapValue(kMailKey, nullptr, ""); // no mail client registered
    EXPECT_FALSE(Send());
    EXPECT_TRUE(told("so Kestro cannot hand the message to one"));
    SendMessageA(window_, WM_COMMAND, IDM_MAPI_ADDRESS, 0);
    EXPECT_TRUE(told("so its address book cannot open"));
    SwapValue(kMailKey, nullptr, "Kestro Test Mail");
    UnloadMapi(); // no mapi32 entries
    EXPECT_FALSE(Send());
    EXPECT_TRUE(told("so Kestro cannot hand the message to one"));
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "ann@x.org");
}

} // namespace
