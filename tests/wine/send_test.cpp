// Sending a message end to end through a real SMTP server on this machine: the Send command,
// the preparation checks, the session over Winsock, the progress bar, Cancel and the Message
// Sent dialog.
//
// scripts/test.sh starts the server for these tests. To run them by hand, start it first, with
// a port and a folder for the messages it receives:
//   /usr/bin/python3 scripts/smtp-sink.py 2525 /tmp/kestro-sink &
// then give both to the tests, the folder as a Windows path, and run them in the build's bin:
//   export KESTRO_SMTP_PORT=2525 KESTRO_SMTP_SINK='Z:\tmp\kestro-sink'
//   /work/main/scripts/wine-run.sh kestro_wine_tests.exe --gtest_filter='Sending*'
// Without them the tests that need the server are skipped. The server refuses recipients at
// refused.invalid and answers those at stall.invalid only after five seconds.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"

namespace {

TEST_F(Sending, AFormattedMessageWithAttachmentsArrivesWhole) {
    REQUIRE_SINK();
    CopyField(programSettings.replyTo, "ann.lee@example.org");
    SetWindowTextA(Edit(IDC_TO_EDIT), "bob@example.net; cy@example.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "dee@example.org");
    SetWindowTextA(Edit(IDC_BCC_EDIT), "eve@example.org");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Files for Bob");
    // Arial 10 points throughout, "Hello" bold and red; a line holding only a dot.
    SetWindowTextA(composeWindows.bodyEditor, "Hello Bob,\r\nsee the files.\r\n.\r\nAnn");
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_COLOR;
    format.yHeight = 200;
    lstrcpyA(format.szFaceName, "Arial");
    SendMessageA(composeWindows.bodyEditor, EM_SETSEL, 0, -1);
    SendMessageA(composeWindows.bodyEditor, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    format.dwMask = CFM_BOLD | CFM_COLOR;
    format.dwEffects = CFE_BOLD;
    format.crTextColor = RGB(255, 0, 0);
    SendMessageA(composeWindows.bodyEditor, EM_SETSEL, 0, 5);
    SendMessageA(composeWindows.bodyEditor, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    htmlFormatting = 1;
    // More than two chunks of the disk reader, every byte value, and a small text file.
    const std::string voice = Bytes(300000, 5);
    const std::string notes = "Line one\r\n.\r\nLine three\r\n";
    ASSERT_EQ(AddAttachment(WriteFile("Voice.wav", voice).c_str()), 1);
    ASSERT_EQ(AddAttachment(WriteFile("notes.txt", notes).c_str()), 1);

    // After every socket event: the state, the percent, and whether the bar in the status bar
    // is blue up to that percent and not beyond.
    struct Progress {
        uint32_t state;
        int percent;
        bool barShown;
    };
    std::vector<Progress> progress;
    bool sendingShown = false;
    std::vector<MSG> posted;
    const auto watch = [&](const MSG& message) {
        sendingShown = sendingShown || StatusText(0) == "Sending";
        if (message.message != WM_USER + 1 || sendState == 0) {
            return;
        }
        const int percent = smtpSession.progress;
        const bool barShown = (percent < 4 || ProgressPixel(percent / 2) == RGB(0, 0, 255)) &&
                              (percent > 97 || ProgressPixel(percent + 1) != RGB(0, 0, 255));
        if (progress.empty() || progress.back().state != sendState ||
            progress.back().percent != percent) {
            progress.push_back({sendState, percent, barShown});
        }
    };
    const Delivered mail = Send(
        [&](HWND dialog) {
            EXPECT_EQ(TextOf(dialog), "Kestro confirmation");
            EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_MS_TEXT)), "Message Sent Successfully !");
            EXPECT_EQ(alreadySent, 1);
            // The boxes show the settings: closing automatically, no save, no clear.
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MS_AUTO_CLOSE), BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MS_SAVE), BST_UNCHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MS_CLEAR), BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_MS_AUTO_CLOSE, BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_MS_SAVE, BST_CHECKED);
            CheckDlgButton(dialog, IDC_MS_CLEAR, BST_CHECKED);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            posted = TakePostedCommands(window_);
            for (const MSG& command : posted) {
                PostMessageA(window_, command.message, command.wParam, command.lParam);
            }
        },
        true, watch);

    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(mail.envelope,
              (std::vector<std::string>{"MAIL FROM:<ann@example.org>", "RCPT TO:<bob@example.net>",
                                        "RCPT TO:<cy@example.com>", "RCPT TO:<dee@example.org>",
                                        "RCPT TO:<eve@example.org>"}));

    // The exact bytes of the header block and the parts are the MIME builder's (tested
    // natively); here what passes through the windows: the header lines, the editor's text and
    // formatting as the two alternatives, and the attached files.
    const std::string& data = mail.data;
    const std::regex date("\r\nDate: (Mon|Tue|Wed|Thu|Fri|Sat|Sun), [0-3][0-9] "
                          "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) 20[0-9][0-9] "
                          "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [+-][0-9]{4}\r\n");
    EXPECT_TRUE(std::regex_search(data, date)) << data.substr(0, 400);
    const std::regex messageId("\r\nMessage-ID: <[0-9]+\\.[0-9]+\\.[0-9]+@example\\.org>\r\n");
    EXPECT_TRUE(std::regex_search(data, messageId)) << data.substr(0, 400);
    EXPECT_EQ(data.rfind("Reply-To: \"Ann Lee\" <ann.lee@example.org>\r\n"
                         "From: \"Ann Lee\" <ann@example.org>\r\n"
                         "To: <bob@example.net>, <cy@example.com>\r\n"
                         "Cc: <dee@example.org>\r\n",
                         0),
              0u)
        << data.substr(0, 400);
    EXPECT_NE(data.find("\r\nSubject: Files for Bob\r\n"), std::string::npos);
    EXPECT_EQ(
        PartContent(data, "Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"),
        "Hello Bob,\r\nsee the files.\r\n.\r\nAnn\r\n\r\n");
    const std::string font = "<FONT color=#000000 face=\"Arial\" size=2>";
    EXPECT_EQ(
        PartContent(data, "Content-Type: text/html\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"),
        "<HTML>\r\n<BODY>\r\n<DIV><STRONG><FONT color=#ff0000 face=\"Arial\" size=2>Hello"
        "</STRONG></FONT>" +
            font + " Bob,</FONT></DIV>\r\n<DIV>" + font + "see the files.</FONT></DIV>\r\n<DIV>" +
            font + ".</FONT></DIV>\r\n<DIV>" + font + "Ann</FONT></DIV>\r\n<DIV>" + font +
            "</FONT></DIV></BODY>\r\n</HTML>\r\n");
    CheckAttachment(data, "voice.wav", voice);
    CheckAttachment(data, "notes.txt", notes);
    EXPECT_NE(data.find("Content-Type: audio/wav; name=\"voice.wav\"\r\n"), std::string::npos);
    EXPECT_EQ(data.substr(data.size() - kMain.size() - 10), "\r\n--" + kMain + "--\r\n\r\n");

    // The percent of each state is the session's own (tested natively); the bar shows it, grows
    // only, and is full only at QUIT.
    for (size_t i = 0; i < progress.size(); ++i) {
        const Progress& p = progress[i];
        EXPECT_TRUE(p.barShown) << std::hex << p.state << std::dec << " at " << p.percent;
        EXPECT_TRUE(i == 0 || p.percent >= progress[i - 1].percent) << "the bar shrank";
        EXPECT_EQ(p.percent == 100, p.state == SMTP_QUIT) << std::hex << p.state;
    }
    ASSERT_GE(progress.size(), 2u);
    EXPECT_GT(progress[progress.size() - 2].percent, 50) << "the attachments moved the bar";
    EXPECT_EQ(ProgressPixel(50), RGB(192, 192, 192));
    EXPECT_TRUE(sendingShown);

    // The dialog's choices: kept in the settings, Save (lParam 1) and New Message posted.
    EXPECT_EQ(programSettings.alwaysClose, 0);
    EXPECT_EQ(programSettings.alwaysSave, 1);
    EXPECT_EQ(programSettings.alwaysClear, 1);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(IDM_SAVE_MESSAGE));
    EXPECT_EQ(posted[0].lParam, 1);
    EXPECT_EQ(posted[1].wParam, static_cast<WPARAM>(IDM_NEW_MESSAGE));
    EXPECT_EQ(posted[1].lParam, 0);
    EXPECT_EQ(StatusText(0), "Message Sent Successfully");
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "< click here to enter recipients >") << "cleared";
    EXPECT_EQ(AttachmentCount(), 0);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    const std::string settings = ReadWholeFile(folder_ + "Kestro.ini");
    EXPECT_NE(settings.find("\r\nALWAYS_CLOSE=0\r\nALWAYS_SAVE=1\r\nALWAYS_CLEAR=1\r\n"),
              std::string::npos)
        << settings;
}

TEST_F(Sending, ALargeAttachmentAndASmallOneArriveByteForByte) {
    REQUIRE_SINK();
    sendTimeout_ = 100000;
    Address("bob@example.net", "Large files");
    // 20 MB and two bytes through the real socket, and a small file after it.
    const std::string clip = RandomBytes(20 * 1024 * 1024 + 2, 2026);
    const std::string pair("\xFF\x00", 2);
    ASSERT_EQ(AddAttachment(WriteFile("clip.avi", clip).c_str()), 1);
    ASSERT_EQ(AddAttachment(WriteFile("pair.jpg", pair).c_str()), 1);
    const Delivered mail = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_EQ(mail.envelope.size(), 2u);

    CheckAttachment(mail.data, "clip.avi", clip);
    // The small file follows the large one, and nothing but the closing comes after it.
    const std::string tail = "filename=\"pair.jpg\"\r\n\r\n/wA=\r\n--" + kMain + "--\r\n\r\n";
    ASSERT_GT(mail.data.size(), tail.size());
    EXPECT_EQ(mail.data.substr(mail.data.size() - tail.size()), tail);
}

TEST_F(Sending, AccentedSubjectAndBodyArriveEncodedAndDecodeToWhatWasTyped) {
    REQUIRE_SINK();
    Address("bob@example.net", "Caf\xE9 cr\xE8me");
    // Lines that would end the mail data or lose their dot if they went out as typed.
    SetWindowTextA(composeWindows.bodyEditor, "Un caf\xE9 = deux\r\n.\r\n.x\r\n..\r\n.fin");
    const Delivered mail = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_NE(mail.data.find("\r\nSubject: =?windows-1252?Q?Caf=E9_cr=E8me?=\r\nX-mailer: "),
              std::string::npos)
        << mail.data.substr(0, 400);
    const std::string body =
        PartContent(mail.data, "\r\n--" + kMain +
                                   "\r\nContent-Type: text/plain; charset=windows-1252\r\n"
                                   "Content-Transfer-Encoding: quoted-printable\r\n\r\n");
    EXPECT_EQ(body, "Un caf=E9 =3D deux\r\n.\r\n.x\r\n..\r\n.fin\r\n");
    EXPECT_EQ(DecodeQuotedPrintable(body), "Un caf\xE9 = deux\r\n.\r\n.x\r\n..\r\n.fin\r\n");
}

TEST_F(Sending, ALongFormattedParagraphGoesOutInLinesTheServerTakes) {
    REQUIRE_SINK();
    Address("bob@example.net", "Long paragraph");
    // One paragraph of 3000 characters, its first word bold: the HTML holds it on one line.
    std::string paragraph;
    while (paragraph.size() < 3000) {
        paragraph += "All work & no play. ";
    }
    SetWindowTextA(composeWindows.bodyEditor, paragraph.c_str());
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD;
    format.dwEffects = CFE_BOLD;
    SendMessageA(composeWindows.bodyEditor, EM_SETSEL, 0, 3);
    SendMessageA(composeWindows.bodyEditor, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    htmlFormatting = 1;
    const Delivered mail = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    // The server refuses the message with "500 Line too long" when a line passes 1000 octets.
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    size_t longest = 0;
    for (size_t at = 0, end; (end = mail.data.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        longest = std::max(longest, end - at);
    }
    EXPECT_LE(longest, 998u);
    const std::string html = DecodeQuotedPrintable(
        PartContent(mail.data, "\r\n--" + kAlt +
                                   "\r\nContent-Type: text/html; charset=windows-1252\r\n"
                                   "Content-Transfer-Encoding: quoted-printable\r\n\r\n"));
    std::string escaped;
    for (char c : paragraph.substr(3)) {
        escaped += c == '&' ? std::string("&amp;") : std::string(1, c);
    }
    EXPECT_NE(html.find(escaped), std::string::npos) << html.substr(0, 600);
    // The text part holds the paragraph in the editor's wrapped lines, every word of it.
    const size_t textStart = mail.data.find("Content-Type: text/plain");
    ASSERT_NE(textStart, std::string::npos);
    const std::string text =
        mail.data.substr(textStart, mail.data.find("--" + kAlt, textStart) - textStart);
    size_t words = 0;
    for (size_t at = 0; (at = text.find("play.", at)) != std::string::npos; ++at) {
        ++words;
    }
    EXPECT_EQ(words, paragraph.size() / 20) << text.substr(0, 600);
}

TEST_F(Sending, TheDialogClosesItselfAtTheFifthTickWithTheTickedChoices) {
    REQUIRE_SINK();
    programSettings.alwaysSave = 1;
    Address("bob@example.net", "Auto");
    DWORD opened = 0;
    DWORD closed = 0;
    std::vector<MSG> posted;
    const Delivered mail = Send([&](HWND dialog) {
        opened = GetTickCount();
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MS_SAVE), BST_CHECKED);
        PumpUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 12000);
        closed = GetTickCount();
        posted = TakePostedCommands(window_);
    });
    ASSERT_EQ(mail.envelope.size(), 2u);
    EXPECT_GE(closed - opened, 7000u); // five ticks of 1.5 s
    EXPECT_LE(closed - opened, 9500u);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(IDM_SAVE_MESSAGE));
    EXPECT_EQ(posted[0].lParam, 1);
    EXPECT_EQ(programSettings.alwaysClose, 1);
    EXPECT_EQ(programSettings.alwaysSave, 1);
    EXPECT_EQ(programSettings.alwaysClear, 0);
}

TEST_F(Sending, ARefusedRecipientShowsTheServersReplyAndNothingIsSent) {
    REQUIRE_SINK();
    Address("bob@example.net ghost@refused.invalid", "Refused");
    MessageBoxes::Plan(IDOK);
    const Delivered mail = Send(
        [](HWND dialog) {
            ADD_FAILURE() << "the Message Sent dialog opened";
            EndDialog(dialog, 0);
        },
        false);
    EXPECT_TRUE(mail.envelope.empty());
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "550 5.1.1 <ghost@refused.invalid>: Recipient address rejected\r\n",
                     "SMTP error", MB_OK);
    EXPECT_EQ(sendState, 0u);
    EXPECT_EQ(alreadySent, 0);

    // The session is over: the next send goes through.
    Address("bob@example.net", "Second try");
    const Delivered second =
        Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(second.envelope.size(), 2u);
    EXPECT_NE(second.data.find("\r\nSubject: Second try\r\n"), std::string::npos);
}

TEST_F(Sending, CancelWhileTheServerIsSlowEndsTheSendWithoutTheDialog) {
    REQUIRE_SINK();
    Address("slow@stall.invalid", "Never");
    const std::set<std::string> before = StoredMessages();
    bool dialogShown = false;
    WhenDialogAppears([&](HWND dialog) {
        dialogShown = true;
        EndDialog(dialog, 0);
    });
    Command(window_, IDC_SEND_BUTTON);
    ASSERT_TRUE(PumpUntil(
        [] { return sendState == SMTP_RCPT_TO && smtpSession.awaitingReply != 0; }, 10000))
        << std::hex << sendState;
    EXPECT_EQ(StatusText(0), "Connected, Awaiting Reply");
    Command(window_, IDC_CANCEL_BUTTON);
    EXPECT_EQ(sendState, 0u);
    EXPECT_EQ(StatusText(0), "Canceled Send");
    EXPECT_EQ(outgoingMessage.cancelRequested, 1);
    PumpMessagesFor(1000);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(StoredMessages(), before);
    Command(window_, IDC_CANCEL_BUTTON); // nothing left to cancel
    EXPECT_EQ(StatusText(0), "Canceled Send");
    ForgetDialogAction();
}

TEST_F(Sending, UnreadableAttachmentsAreReportedAndDroppedAndTheRestIsSent) {
    REQUIRE_SINK();
    Address("bob@example.net", "Attachments");
    const std::string first = WriteFile("first.txt", "1");
    const std::string second = WriteFile("second.txt", "2");
    ASSERT_EQ(AddAttachment(first.c_str()), 1);
    ASSERT_EQ(AddAttachment(second.c_str()), 1);
    ASSERT_EQ(AddAttachment(WriteFile("third.txt", "three").c_str()), 1);
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
    const Delivered mail = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    ASSERT_EQ(MessageBoxes::Calls().size(), 2u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File Attachment Error");
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "Couldn't find the attachment \"" +
                  std::string(attachmentTable.slots[0].path).substr(0, folder_.size()) +
                  "first.txt\"");
    EXPECT_NE(MessageBoxes::Calls()[1].text.find("second.txt\""), std::string::npos);
    EXPECT_EQ(AttachmentCount(), 1);
    EXPECT_NE(std::string(attachmentTable.slots[0].path).find("third.txt"), std::string::npos);
    EXPECT_EQ(mail.data.find("first.txt"), std::string::npos);
    EXPECT_NE(mail.data.find("filename=\"third.txt\"\r\n\r\ndGhyZWU=\r\n--"), std::string::npos);
    // The Message Sent dialog was dismissed: nothing changed, but the message counts as sent.
    EXPECT_EQ(alreadySent, 1);
    EXPECT_EQ(programSettings.alwaysClose, 1);
}

TEST_F(Sending, NoServerConfiguredOpensTheProgramSettings) {
    programSettings.serverName[0] = '\0';
    Address("bob@example.net", "Nowhere");
    bool settingsShown = false;
    WhenDialogAppears([&](HWND dialog) {
        settingsShown = true;
        EXPECT_EQ(TextOf(dialog), "Program Settings");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDC_SEND_BUTTON);
    EXPECT_TRUE(settingsShown);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "You must configure your E-mail address before sending", "E-mail Settings",
                     MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(sendState, 0u);
}

TEST_F(Sending, TheToFieldIsCheckedBeforeConnecting) {
    struct Case {
        const char* to;
        const char* caption;
        const char* text;
        UINT type;
    };
    const Case cases[] = {
        {"< click here to enter recipients >", "To: address field is empty",
         "Please enter an e-mail address\nin the To: address field", MB_OK | MB_ICONEXCLAMATION},
        {"Bob Smith", "To: address field invalid",
         "Please enter a valid email address\nin the To: address field", MB_OK | MB_ICONSTOP},
    };
    for (const Case& c : cases) {
        MessageBoxes::Reset();
        SetWindowTextA(Edit(IDC_TO_EDIT), c.to);
        SetFocus(composeWindows.bodyEditor);
        Command(window_, IDM_SEND);
        ASSERT_TRUE(
            PumpUntil([] { return !MessageBoxes::Calls().empty() && sendState == 0; }, 10000))
            << c.to;
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        EXPECT_EQ(MessageBoxes::Calls()[0].caption, c.caption);
        EXPECT_EQ(MessageBoxes::Calls()[0].text, c.text);
        EXPECT_EQ(MessageBoxes::Calls()[0].type, c.type);
        EXPECT_EQ(GetFocus(), Edit(IDC_TO_EDIT));
        EXPECT_EQ(StatusText(0), "Kestro");
    }
}

TEST_F(Sending, AServerThatDoesNotAnswerTheConnectIsReported) {
    programSettings.smtpPort = 1; // nothing listens there
    Address("bob@example.net", "Closed");
    Command(window_, IDC_SEND_BUTTON);
    ASSERT_TRUE(PumpUntil([] { return !MessageBoxes::Calls().empty() && sendState == 0; }, 10000));
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0,
                     "  A connection to the SMTP server  \n 127.0.0.1\n could not be established",
                     "Kestro", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(StatusText(0), "Connecting to 127.0.0.1, IP address 127.0.0.1");
}

TEST_F(Sending, AMissingSenderAddressIsAskedForAndCancelStopsTheSend) {
    programSettings.mailFrom[0] = '\0';
    Address("bob@example.net", "Who from");
    bool asked = false;
    WhenDialogAppears([&](HWND dialog) {
        asked = true;
        EXPECT_EQ(TextOf(dialog), "Email Settings");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDC_SEND_BUTTON);
    ASSERT_TRUE(
        PumpUntil([] { return MessageBoxes::Calls().size() == 2 && sendState == 0; }, 10000));
    EXPECT_TRUE(asked);
    const char* text = "You must configure your E-mail address before sending";
    ExpectMessageBox(0, text, "E-mail Settings", MB_OK | MB_ICONEXCLAMATION);
    ExpectMessageBox(1, text, "E-mail Settings error", MB_OK);
    EXPECT_EQ(StatusText(0), "Kestro");
}

TEST_F(Sending, ASentMessageAsksBeforeGoingAgainAndMapiTakesOverWhenChosen) {
    alreadySent = 1;
    Command(window_, IDC_SEND_BUTTON); // the question is not answered: Cancel
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "This message was already sent.\nDo you want to send the message again?",
                     "Send Message", MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(sendState, 0u);

    // With Simple MAPI chosen, Send asks nothing and hands over to command 25000.
    programSettings.useMapi = 1;
    programSettings.serverName[0] = '\0';
    Command(window_, IDM_SEND);
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    const std::vector<MSG> posted = TakePostedCommands(window_);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(IDM_MAPI_SEND));

    // While a send is running, Send does nothing at all.
    programSettings.useMapi = 0;
    sendState = SMTP_HEADERS;
    Command(window_, IDM_SEND);
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_TRUE(TakePostedCommands(window_).empty());
    sendState = 0;
}

// The Kestro.ini a first `make run` writes (scripts/run-settings.sh, pointed at this server by
// scripts/test.sh through KESTRO_RUN_SETTINGS): Send works at once, as the sample sender.
class FirstMakeRun : public Sending {
  protected:
    std::string InitialSettingsFile() const override {
        char path[MAX_PATH] = {};
        GetEnvironmentVariableA("KESTRO_RUN_SETTINGS", path, sizeof path);
        return path[0] ? ReadWholeFile(path) : "";
    }
};

TEST_F(FirstMakeRun, SendsThroughKestrosOwnClientAsTheSampleSender) {
    REQUIRE_SINK();
    if (InitialSettingsFile().empty()) {
        GTEST_SKIP() << "KESTRO_RUN_SETTINGS is not set (scripts/test.sh sets it)";
    }
    Address("friend@example.org", "Hello from Kestro");
    const Delivered mail = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_EQ(mail.envelope.size(), 2u);
    EXPECT_EQ(mail.envelope[0], "MAIL FROM:<sample.sender@example.com>");
    EXPECT_EQ(mail.data.rfind("From: \"Sample Sender\" <sample.sender@example.com>\r\n", 0), 0u);
}

} // namespace
