// Not a test: the sending figures `make bench` prints (scripts/bench-sending.sh). Disabled, so that
// no test run depends on the speed of the machine; it fails only when the send itself fails. It
// sends one message with a 50 MB attachment through the real main window and session over Winsock
// to the discarding SMTP server that scripts/bench-sending.sh starts (KESTRO_SMTP_PORT), six
// times: the server keeps the first message's bytes for the other clients and times every
// session itself. Printed here: the time from the Send command to the server's acceptance and the
// memory the process used meanwhile. With KESTRO_BENCH_STARTTLS set the server is the STARTTLS one
// of scripts/smtp-tls-peers.sh (named "localhost", as its certificate is), with its login, and
// three sends do; the script takes the last stored message for curl.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/win/app_state.h"
#include "compose/win/attachments.h"
#include "compose/win/current_message.h"
#include "mail/win/protected_password.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"

namespace {

constexpr size_t kMegabyte = 1024 * 1024;
constexpr size_t kAttachmentMegabytes = 50;
constexpr int kRounds = 6;       // the first one gives the other clients its bytes
constexpr int kSecureRounds = 3; // over STARTTLS, timed here: the fastest is printed

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// Writes the attachment a megabyte at a time, so that the process never holds all of it.
bool WriteAttachment(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < kAttachmentMegabytes && ok; ++i) {
        const std::string piece = RandomBytes(kMegabyte, static_cast<uint32_t>(i + 1));
        DWORD written = 0;
        ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
             written == piece.size();
    }
    CloseHandle(file);
    return ok;
}

using DISABLED_SendBench = Sending;

TEST_F(DISABLED_SendBench, FiftyMegabyteAttachmentToTheLocalServer) {
    REQUIRE_SINK();
    const bool secure = std::getenv("KESTRO_BENCH_STARTTLS") != nullptr;
    if (secure) {
        ASSERT_TRUE(TrustTestCa());
        CopyField(programSettings.serverName, "localhost");
        programSettings.smtpSecurity = kSmtpSecurityStartTls;
        CopyField(programSettings.smtpUser, kTestSmtpUser);
        ASSERT_TRUE(ProtectPassword(kTestSmtpPassword, programSettings.smtpPassword,
                                    sizeof programSettings.smtpPassword));
    }
    Address("bob@example.net", "Bench");
    ASSERT_TRUE(WriteAttachment(folder_ + "bench.avi"));
    ASSERT_EQ(AddAttachment((folder_ + "bench.avi").c_str()), 1);

    double best = 1e9;
    for (int round = 0; round < (secure ? kSecureRounds : kRounds); ++round) {
        bool dialogShown = false;
        WhenDialogAppears([&](HWND dialog) {
            dialogShown = true;
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        const PROCESS_MEMORY_COUNTERS start = Memory();
        SIZE_T largest = start.WorkingSetSize;
        unsigned messages = 0;
        double accepted = 0;
        const double t0 = Now();
        Command(window_, IDC_SEND_BUTTON);
        // The server has accepted the message once the session reaches QUIT.
        const bool ended = PumpUntil([&] { return SendIsIdle(sendState) && dialogShown; }, 600000,
                                     [&](const MSG&) {
                                         if (accepted == 0 && sendState == SMTP_QUIT) {
                                             accepted = Now();
                                         }
                                         if (++messages % 32 == 0) {
                                             const SIZE_T now = Memory().WorkingSetSize;
                                             largest = now > largest ? now : largest;
                                         }
                                     });
        ForgetDialogAction();
        ASSERT_TRUE(ended) << "the send did not end; state " << std::hex << sendState;
        ASSERT_GT(accepted, 0) << "the server did not accept the message";
        ASSERT_TRUE(MessageBoxes::Calls().empty()) << MessageBoxes::Calls()[0].text;
        const PROCESS_MEMORY_COUNTERS end = Memory();
        const double seconds = accepted - t0;
        best = seconds < best ? seconds : best;
        std::printf("BENCH send-round %d %.4f %u\n", round, seconds, messages);
        std::printf("BENCH send-memory %lu %lu %lu %lu\n",
                    static_cast<unsigned long>(start.WorkingSetSize),
                    static_cast<unsigned long>(largest),
                    static_cast<unsigned long>(start.PeakWorkingSetSize),
                    static_cast<unsigned long>(end.PeakWorkingSetSize));
        alreadySent = 0; // send the same message again without the question
    }
    std::printf("BENCH send-seconds %.4f\n", best);
}

} // namespace
