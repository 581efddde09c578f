#include <winsock2.h> // before <windows.h>

#include "support/scripted_smtp_peer.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "support/harness.h"

namespace {

constexpr DWORD kPollMilliseconds = 20;

// The mail data with the transparency dots taken off: a line that starts with a dot loses it.
std::string WithoutTransparencyDots(const std::string& raw) {
    std::string data;
    for (size_t at = 0; at < raw.size();) {
        const size_t lineEnd = raw.find("\r\n", at);
        const size_t end = lineEnd == std::string::npos ? raw.size() : lineEnd + 2;
        const size_t dot = raw[at] == '.' ? 1 : 0;
        data.append(raw, at + dot, end - at - dot);
        at = end;
    }
    return data;
}

std::string FirstWord(const std::string& line) {
    std::string word = line.substr(0, 4);
    for (char& c : word) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word;
}

} // namespace

ScriptedSmtpPeer::ScriptedSmtpPeer(Script script) : script_(std::move(script)) {}

ScriptedSmtpPeer::~ScriptedSmtpPeer() {
    InterlockedExchange(&stopping_, 1);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (release_ != nullptr) {
        CloseHandle(release_);
    }
    if (listener_ != INVALID_SOCKET) {
        closesocket(listener_);
    }
    if (started_) {
        WSACleanup();
    }
}

bool ScriptedSmtpPeer::Start() {
    WSADATA data;
    if (WSAStartup(0x0202, &data) != 0) {
        return false;
    }
    started_ = true; // Kestro's own WSACleanup then leaves Winsock to this thread
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) {
        return false;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return false;
    }
    port_ = ntohs(address.sin_port);
    release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return release_ != nullptr && thread_ != nullptr;
}

void ScriptedSmtpPeer::Release() {
    SetEvent(release_);
}

bool ScriptedSmtpPeer::WaitForEnd(DWORD milliseconds) {
    // The client lives on this thread: keep its window messages going meanwhile.
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<int>(end - now) > 0 ? end - now : 0;
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread_, FALSE, left, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            return true;
        }
        if (woken != WAIT_OBJECT_0 + 1) {
            return false;
        }
        PumpMessages();
    }
}

DWORD WINAPI ScriptedSmtpPeer::ThreadMain(LPVOID self) {
    static_cast<ScriptedSmtpPeer*>(self)->Serve();
    return 0;
}

bool ScriptedSmtpPeer::WaitReadable(UINT_PTR socket) {
    while (InterlockedCompareExchange(&stopping_, 0, 0) == 0) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(static_cast<SOCKET>(socket), &readable);
        timeval wait = {0, static_cast<long>(kPollMilliseconds * 1000)};
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready != 0) {
            return ready > 0;
        }
    }
    return false;
}

bool ScriptedSmtpPeer::Reply(UINT_PTR socket, const std::string& text) {
    const size_t piece = script_.writeSize > 0 ? script_.writeSize : text.size();
    for (size_t at = 0; at < text.size();) {
        const int want = static_cast<int>(std::min(piece, text.size() - at));
        const int sent = send(static_cast<SOCKET>(socket), text.data() + at, want, 0);
        if (sent <= 0) {
            return false;
        }
        at += static_cast<size_t>(sent);
        if (script_.writeSize > 0 && script_.pauseAfterWrite > 0) {
            Sleep(script_.pauseAfterWrite);
        }
    }
    return true;
}

bool ScriptedSmtpPeer::Answer(UINT_PTR socket, const std::string& word) {
    if (word == script_.holdReplyTo) {
        while (WaitForSingleObject(release_, kPollMilliseconds) == WAIT_TIMEOUT) {
            if (InterlockedCompareExchange(&stopping_, 0, 0) != 0) {
                return false;
            }
        }
    }
    const auto reply = script_.replies.find(word);
    return Reply(socket, reply != script_.replies.end() ? reply->second
                                                        : std::string("500 unknown command\r\n"));
}

void ScriptedSmtpPeer::Serve() {
    if (!WaitReadable(listener_)) {
        return;
    }
    const SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (client == INVALID_SOCKET) {
        return;
    }
    // Every write of a cut reply leaves as a segment of its own.
    const BOOL noDelay = TRUE;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    bool ok = Reply(client, script_.greeting);
    std::string inbox;
    std::string raw; // the mail data as received
    bool inData = false;
    while (ok) {
        for (bool handled = true; ok && handled;) {
            handled = false;
            if (inData) {
                // Only the new bytes and the four before them can complete the mark.
                const size_t searchFrom = raw.size() > 4 ? raw.size() - 4 : 0;
                raw += inbox;
                inbox.clear();
                const bool markFirst = raw.compare(0, 3, ".\r\n") == 0;
                const size_t mark = markFirst ? 0 : raw.find("\r\n.\r\n", searchFrom);
                if (mark == std::string::npos) {
                    break;
                }
                const size_t contentEnd = markFirst ? 0 : mark + 2;
                data_ = WithoutTransparencyDots(raw.substr(0, contentEnd));
                endOfDataSeen_ = true;
                inbox = raw.substr(contentEnd + 3);
                raw.clear();
                inData = false;
                ok = Answer(client, "END");
                handled = true;
                continue;
            }
            const size_t lineEnd = inbox.find("\r\n");
            if (lineEnd == std::string::npos) {
                break;
            }
            const std::string line = inbox.substr(0, lineEnd);
            inbox.erase(0, lineEnd + 2);
            commands_.push_back(line);
            const std::string word = FirstWord(line);
            ok = Answer(client, word);
            const auto reply = script_.replies.find(word);
            inData = word == "DATA" && reply != script_.replies.end() &&
                     reply->second.compare(0, 3, "354") == 0;
            if (word == "QUIT") {
                shutdown(client, SD_SEND); // the server ends the session
            }
            handled = true;
        }
        if (!ok || !WaitReadable(client)) {
            break;
        }
        char buffer[4096];
        const int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) {
            closedByClient_ = received == 0;
            break;
        }
        inbox.append(buffer, static_cast<size_t>(received));
    }
    if (inData) {
        data_ = WithoutTransparencyDots(raw + inbox); // what came before the client stopped
    }
    closesocket(client);
}
