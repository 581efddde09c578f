// What the sending tests share: the local SMTP server that scripts/test.sh starts (its port and
// the folder where it stores every message, see the top of send_test.cpp), a main window set up
// to send to it, and helpers that read what arrived.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "../unit/support/mail_decoding.h"
#include "support/harness.h"

// The boundaries of the outer multipart/mixed and of the inner multipart/alternative.
inline const std::string kMain = "kestr1_140899_BounDAry_9903";
inline const std::string kAlt = "kestr1_140899_bOUNdaRY_9903_alt";

// The server's folder as a Windows path with a trailing backslash, and its port; "" and 0 when
// the environment does not name them.
std::string SinkFolder();
int SinkPort();

#define REQUIRE_SINK()                                                                             \
    if (SinkFolder().empty() || SinkPort() <= 0) {                                                 \
        GTEST_SKIP() << "no SMTP server: see the comment at the top of send_test.cpp";             \
    }

// The folder of the TLS servers (scripts/smtp-tls-peers.sh, KESTRO_TLS_PEERS) as a Windows
// path with a backslash; "" when the environment does not name it.
std::string TlsPeersFolder();

// Adds the test CA of the TLS servers (its ca.pem) to the trusted roots of the current user of
// the test prefix. False when it cannot.
bool TrustTestCa();

// The user and password the TLS servers accept.
inline const char kTestSmtpUser[] = "kestro";
inline const char kTestSmtpPassword[] = "Voice-Mail 2 go!";

// The names of the messages the server has stored so far.
std::set<std::string> StoredMessages();

// A message the server stored: its envelope lines and the bytes after DATA.
struct Delivered {
    std::vector<std::string> envelope;
    std::string data;
};

// Processes messages one at a time until done() holds or the time is up; `each` runs after
// every message. True when done() held.
bool PumpUntil(const std::function<bool()>& done, int milliseconds,
               const std::function<void(const MSG&)>& each = nullptr);

// The text of a status bar part.
std::string StatusText(int part);

// The colour of the progress bar (status bar part 1, inside its 2-pixel margin) at percent.
COLORREF ProgressPixel(int percent);

// Takes the WM_COMMAND messages posted to the window so far out of the queue.
std::vector<MSG> TakePostedCommands(HWND window);

// count bytes of a short repeating pattern that holds every byte value.
std::string Bytes(size_t count, unsigned seed);
// count bytes that never repeat in any pattern a misplaced block could hide in.
std::string RandomBytes(size_t count, uint32_t seed);

// Checks an attachment part's base64 text (one line of 72 characters after another, the last
// one shorter, the alphabet only) and that it decodes to the file's bytes. Returns the text.
std::string CheckAttachment(const std::string& data, const std::string& name,
                            const std::string& bytes);

// The content of the first part whose sub-headers end with `opening`, up to the next boundary
// line of the main or the alternative container; "" (and a failure) when there is none.
std::string PartContent(const std::string& data, const std::string& opening);

// A main window that sends as Ann Lee <ann@example.org> to the server on 127.0.0.1.
class Sending : public MainWindowTest {
  protected:
    std::string InitialSettingsFile() const override;

    // Fills To and Subject and writes "Hi" into the body.
    void Address(const char* to, const char* subject);

    // Writes a file into the program folder; returns its path.
    std::string WriteFile(const std::string& name, const std::string& bytes);

    // Presses Send and waits until the session is over and, when one is expected, the server
    // has stored a new message. `dialog` runs inside the Message Sent dialog, if it opens.
    Delivered Send(const std::function<void(HWND)>& dialog, bool expectMessage = true,
                   const std::function<void(const MSG&)>& each = nullptr);

    int sendTimeout_ = 30000; // milliseconds Send waits for the session to end
};
