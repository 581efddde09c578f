#include "support/send_fixture.h"

#include <commctrl.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdlib>

#include "../unit/support/mail_decoding.h"
#include "app/win/app_state.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"

std::string SinkFolder() {
    const char* folder = std::getenv("KESTRO_SMTP_SINK");
    if (folder == nullptr || folder[0] == '\0') {
        return "";
    }
    std::string path = folder;
    return path.back() == '\\' ? path : path + "\\";
}

int SinkPort() {
    const char* port = std::getenv("KESTRO_SMTP_PORT");
    return port != nullptr ? std::atoi(port) : 0;
}

std::string TlsPeersFolder() {
    const char* folder = std::getenv("KESTRO_TLS_PEERS");
    return folder != nullptr && folder[0] != '\0' ? std::string(folder) + "\\" : "";
}

bool TrustTestCa() {
    const std::string pem = ReadWholeFile(TlsPeersFolder() + "ca.pem");
    BYTE der[8192];
    DWORD length = sizeof der;
    if (pem.empty() || !CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der,
                                             &length, nullptr, nullptr)) {
        return false;
    }
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    if (root == nullptr) {
        return false;
    }
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der, length,
                                                        CERT_STORE_ADD_USE_EXISTING, nullptr);
    CertCloseStore(root, 0);
    return added != FALSE;
}

std::set<std::string> StoredMessages() {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((SinkFolder() + "*.msg").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.insert(entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return names;
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds,
               const std::function<void(const MSG&)>& each) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) {
            return false;
        }
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Wakes at the next message, as the program's GetMessage loop does; the timeout
            // only lets done() see what happens outside the queue.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (each) {
            each(message);
        }
    }
    return true;
}

std::string StatusText(int part) {
    char text[256] = {};
    SendMessageA(app.statusBar, SB_GETTEXTA, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

COLORREF ProgressPixel(int percent) {
    RECT bar;
    SendMessageA(app.statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&bar));
    InflateRect(&bar, -2, -2);
    HDC dc = GetDC(app.statusBar);
    const COLORREF colour = GetPixel(dc, bar.left + (bar.right - bar.left - 2) * percent / 100,
                                     (bar.top + bar.bottom) / 2);
    ReleaseDC(app.statusBar, dc);
    return colour;
}

std::vector<MSG> TakePostedCommands(HWND window) {
    std::vector<MSG> posted;
    MSG message;
    while (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        posted.push_back(message);
    }
    return posted;
}

std::string Bytes(size_t count, unsigned seed) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        bytes += static_cast<char>((i * 7 + seed + i / 256) & 0xFF);
    }
    return bytes;
}

std::string RandomBytes(size_t count, uint32_t seed) {
    std::string bytes(count, '\0');
    uint32_t state = seed != 0 ? seed : 1;
    for (size_t i = 0; i < count; ++i) {
        state ^= state << 13; // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string CheckAttachment(const std::string& data, const std::string& name,
                            const std::string& bytes) {
    const std::string opening = "filename=\"" + name + "\"\r\n\r\n";
    const size_t start = data.find(opening);
    EXPECT_NE(start, std::string::npos) << name;
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + opening.size();
    const std::string text = data.substr(from, data.find("\r\n--" + kMain, from) - from);
    size_t lineStart = 0;
    size_t badLines = 0;
    for (size_t end; (end = text.find("\r\n", lineStart)) != std::string::npos;
         lineStart = end + 2) {
        if (end - lineStart != 72u && ++badLines <= 3) {
            ADD_FAILURE() << name << ": a line of " << end - lineStart << " at " << lineStart;
        }
    }
    EXPECT_EQ(badLines, 0u) << name;
    EXPECT_LT(text.size() - lineStart, 72u) << name;
    EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                     "0123456789+/=\r\n"),
              std::string::npos)
        << name;
    EXPECT_TRUE(DecodeBase64ForTest(text) == bytes) << name << " does not decode to the file";
    return text;
}

std::string PartContent(const std::string& data, const std::string& opening) {
    const size_t start = data.find(opening);
    EXPECT_NE(start, std::string::npos) << opening;
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + opening.size();
    const size_t end =
        std::min(data.find("\r\n--" + kMain, from), data.find("\r\n--" + kAlt, from));
    return data.substr(from, end - from);
}

std::string Sending::InitialSettingsFile() const {
    const int port = SinkPort() > 0 ? SinkPort() : 1;
    return "VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\nMAILFROM=ann@example.org\r\n"
           "REPLYTO=\r\nSERVERNAME=127.0.0.1\r\nSMTPPORT=" +
           std::to_string(port) +
           "\r\nX=50\r\nY=40\r\nWIDTH=472\r\nHEIGHT=553\r\n"
           "ALWAYS_CLOSE=1\r\nALWAYS_SAVE=0\r\nALWAYS_CLEAR=0\r\n";
}

void Sending::Address(const char* to, const char* subject) {
    SetWindowTextA(Edit(IDC_TO_EDIT), to);
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), subject);
    SetWindowTextA(composeWindows.bodyEditor, "Hi");
}

std::string Sending::WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + name;
    WriteWholeFile(path, bytes);
    return path;
}

Delivered Sending::Send(const std::function<void(HWND)>& dialog, bool expectMessage,
                        const std::function<void(const MSG&)>& each) {
    const std::set<std::string> before = StoredMessages();
    bool dialogShown = false;
    WhenDialogAppears([&](HWND shown) {
        dialogShown = true;
        dialog(shown);
    });
    Command(window_, IDC_SEND_BUTTON);
    std::string stored;
    const bool ended = PumpUntil(
        [&] {
            for (const std::string& name : StoredMessages()) {
                if (before.count(name) == 0) {
                    stored = name;
                }
            }
            return sendState == 0 && (dialogShown || !expectMessage) &&
                   (!stored.empty() || !expectMessage);
        },
        sendTimeout_, each);
    EXPECT_TRUE(ended) << "the send did not end; state " << std::hex << sendState;
    ForgetDialogAction();
    PumpMessages();
    Delivered delivered;
    if (stored.empty()) {
        return delivered;
    }
    const std::string file = ReadWholeFile(SinkFolder() + stored);
    DeleteFileA((SinkFolder() + stored).c_str());
    const size_t split = file.find("\r\n\r\n");
    EXPECT_NE(split, std::string::npos);
    for (size_t at = 0; at < split + 2;) {
        const size_t end = file.find("\r\n", at);
        delivered.envelope.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    delivered.data = file.substr(split + 4);
    return delivered;
}
