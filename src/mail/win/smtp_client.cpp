#include <winsock2.h> // before <windows.h>

#include "mail/win/smtp_client.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/program_settings.h"
#include "base/win/main_window_messages.h"
#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "base/win/scoped_socket.h"
#include "base/win/status_bar.h"
#include "mail/mime_builder.h"
#include "mail/win/internet_check.h"
#include "mail/win/mail_windows.h"
#include "mail/win/message_sent_dialog.h"
#include "mail/win/protected_password.h"
#include "mail/win/schannel_engine.h"
#include "mail/win/send_preparation.h"
#include "mail/win/send_state.h"

namespace {

constexpr COLORREF kProgressBackground = 0xC0C0C0;
constexpr COLORREF kProgressFill = 0xFF0000;

// The connection's TLS layer: large buffers, so kept apart from the stack.
TlsChannel tlsChannel;
SchannelEngine tlsEngine;

// The session's socket and the main window it reports to. Once TLS has started, the session's
// sends and receives go through the TLS layer, which uses the socket itself.
struct WinsockPlatform : SmtpPlatform, TlsSocket {
    HWND window = nullptr;
    ScopedSocket socket;
    HANDLE lookup = nullptr;  // the host lookup under way
    bool tls = false;         // the TLS layer carries the session's bytes
    bool closePosted = false; // the TLS layer saw the end and said so

    int SendRaw(const unsigned char* data, int length) override {
        const int sent = ::send(socket.get(), reinterpret_cast<const char*>(data), length, 0);
        if (sent != SOCKET_ERROR) {
            return sent;
        }
        return WSAGetLastError() == WSAEWOULDBLOCK ? kTlsWouldBlock : kTlsSocketError;
    }
    int ReceiveRaw(unsigned char* buffer, int size) override {
        const int received = ::recv(socket.get(), reinterpret_cast<char*>(buffer), size, 0);
        if (received != SOCKET_ERROR) {
            return received;
        }
        return WSAGetLastError() == WSAEWOULDBLOCK ? kTlsWouldBlock : kTlsSocketError;
    }
    void PostReadEvent() override { PostMessageA(window, WM_SOCKET_EVENT, 0, FD_READ); }

    // The TLS layer's results are the session's: would-block and error have the same values.
    int Send(const char* data, int length) override {
        if (tls) {
            return SendTls(tlsChannel, data, length);
        }
        return SendRaw(reinterpret_cast<const unsigned char*>(data), length);
    }
    int Receive(char* buffer, int size) override {
        if (tls) {
            const int received = ReceiveTls(tlsChannel, buffer, size);
            // The TLS layer reads the server's closing alert and the end of the stream itself,
            // and Winsock may then not report the close: the session hears of it from here.
            if (received == 0 && !closePosted) {
                closePosted = true;
                PostMessageA(window, WM_SOCKET_EVENT, 0, FD_CLOSE);
            }
            return received;
        }
        return ReceiveRaw(reinterpret_cast<unsigned char*>(buffer), size);
    }
    void StartTls() override {
        tls = true;
        closePosted = false;
        tlsEngine.Begin(mailWindows.settings->serverName);
        StartTlsChannel(tlsChannel, *this, tlsEngine);
    }
    TlsStep ContinueTls(char* failure, size_t failureSize) override {
        const TlsStep step = ContinueTlsChannel(tlsChannel);
        if (step == TlsStep::Failed) {
            CopyField(failure, failureSize, tlsChannel.failure);
        }
        return step;
    }
    bool GetPassword(char* password, size_t size) override {
        return UnprotectPassword(mailWindows.settings->smtpPassword, password, size);
    }
    void Close() override {
        if (lookup != nullptr) {
            WSACancelAsyncRequest(lookup);
            lookup = nullptr;
        }
        if (tls) {
            tls = false;
            tlsEngine.Reset();
        }
        if (socket) {
            shutdown(socket.get(), SD_SEND);
            socket.reset();
        }
        WSACleanup();
    }
    void GetLocalHostName(char* name, size_t size) override {
        if (gethostname(name, static_cast<int>(size)) != 0) {
            CopyField(name, size, "localhost");
        }
    }
    void GetDateText(char* text, size_t size) override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        TIME_ZONE_INFORMATION zone;
        const DWORD zoneState = GetTimeZoneInformation(&zone);
        LONG bias = zone.Bias; // minutes to add to the local time to get UTC
        if (zoneState == TIME_ZONE_ID_DAYLIGHT) {
            bias += zone.DaylightBias;
        } else if (zoneState == TIME_ZONE_ID_STANDARD) {
            bias += zone.StandardBias;
        } else if (zoneState == TIME_ZONE_ID_INVALID) {
            bias = 0;
        }
        const MailLocalTime local = {now.wYear, now.wMonth,  now.wDay,   now.wDayOfWeek,
                                     now.wHour, now.wMinute, now.wSecond};
        FormatMailDate(local, -static_cast<int>(bias), text, size);
    }
    void GetMessageId(const char* sender, char* text, size_t size) override {
        static uint32_t messageCount = 0;
        FormatMessageId(static_cast<uint64_t>(time(nullptr)), GetCurrentProcessId(), ++messageCount,
                        sender, text, size);
    }
    void PostWriteEvent() override { PostMessageA(window, WM_SOCKET_EVENT, 0, FD_WRITE); }
    void ShowStatusText(const char* text) override {
        SetStatusBarText(mailWindows.statusBar, text);
    }
    void ShowMessage(const char* text, const char* caption, SmtpMessageIcon icon) override {
        ShowMessageBox(window, text, caption,
                       MB_OK | (icon == SmtpMessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0));
    }
    void PaintProgress(int percent, bool clearBar) override {
        if (!mailWindows.statusBar) {
            return;
        }
        RECT bar;
        if (!SendMessageA(mailWindows.statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&bar))) {
            return;
        }
        InflateRect(&bar, -2, -2);
        const WindowDc dc(mailWindows.statusBar);
        if (clearBar) {
            const ScopedGdiObject<HBRUSH> background(CreateSolidBrush(kProgressBackground));
            FillRect(dc.get(), &bar, background.get());
        }
        RECT filled = bar;
        filled.right = bar.left + (bar.right - bar.left - 2) * percent / 100;
        if (filled.right > filled.left) {
            const ScopedGdiObject<HBRUSH> fill(CreateSolidBrush(kProgressFill));
            FillRect(dc.get(), &filled, fill.get());
        }
    }
    void ShowMessageSent() override {
        DialogBoxParamA(mailWindows.instance, "MESSAGE_SENT", window, MessageSentDialogProc, 0);
    }
};

WinsockPlatform platform;
char lookupBuffer[MAXGETHOSTSTRUCT];

void ShowConnectFailed(HWND mainWindow) {
    char text[kNameLength + 96];
    FormatConnectFailedMessage(mailWindows.settings->serverName, text, sizeof text);
    ShowMessageBox(mainWindow, text, "Kestro", MB_OK | MB_ICONEXCLAMATION);
}

// Ends the session that could not get as far as connecting and returns to idle.
void AbandonSend() {
    EndSmtpSession(smtpSession);
    sendState = SMTP_IDLE;
    SetStatusBarText(mailWindows.statusBar, "Kestro");
}

u_short SmtpPort() {
    const int port = mailWindows.settings->smtpPort;
    return static_cast<u_short>(port > 0 && port <= 65535 ? port : 25);
}

} // namespace

int StartSmtpSend(HWND mainWindow, const char* serverName) {
    WSADATA data;
    if (WSAStartup(0x0101, &data) != 0) {
        return 0;
    }
    if (data.wVersion != 0x0101) {
        WSACleanup();
        return 0;
    }
    if (!IsInternetReachable(serverName)) {
        ShowMessageBox(mainWindow, "You need to be connected to the Internet to Send this message.",
                       "Internet Connection", MB_OK);
        WSACleanup();
        return 0;
    }
    // From here on the session owns the Winsock start-up and ends it in EndSmtpSession.
    platform.window = mainWindow;
    BeginSmtpSession(smtpSession, platform, outgoingMessage, *mailWindows.settings);
    platform.lookup = WSAAsyncGetHostByName(mainWindow, WM_HOST_LOOKUP_DONE, serverName,
                                            lookupBuffer, sizeof lookupBuffer);
    if (platform.lookup == nullptr) {
        char text[96];
        std::snprintf(text, sizeof text, "WSAAsyncGetHostByName produced an error, %d",
                      WSAGetLastError());
        ShowMessageBox(mainWindow, text, "WSAAsync... ERROR", MB_OK | MB_ICONEXCLAMATION);
        AbandonSend();
        return 0;
    }
    return 1;
}

void OnHostResolved(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
    // A lookup of a send that was cancelled (or of an earlier one) finds another state or handle.
    if (reinterpret_cast<HANDLE>(wParam) != platform.lookup || !SendAwaitsHostLookup(sendState)) {
        return;
    }
    platform.lookup = nullptr;
    const hostent* host = reinterpret_cast<const hostent*>(lookupBuffer);
    if (WSAGETASYNCERROR(lParam) != 0 || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr) {
        EndSmtpSession(smtpSession);
        sendState = SMTP_IDLE;
        ResetSendingState();
        ShowConnectFailed(mainWindow);
        SetStatusBarText(mailWindows.statusBar, "Kestro");
        return;
    }
    in_addr address;
    memcpy(&address, host->h_addr_list[0], sizeof address);
    char dotted[16];
    CopyField(dotted, sizeof dotted, inet_ntoa(address));
    char status[kNameLength + 64];
    std::snprintf(status, sizeof status, "Connecting to %.255s, IP address %s", host->h_name,
                  dotted);
    SetStatusBarText(mailWindows.statusBar, status);
    if (!PrepareOutgoingMessage()) {
        AbandonSend();
        return;
    }
    // Preparation may have shown dialogs, during which the send could be cancelled.
    if (!SendAwaitsHostLookup(sendState)) {
        return;
    }
    ConnectSmtpServer(mainWindow, dotted);
}

void ConnectSmtpServer(HWND mainWindow, const char* dottedAddress) {
    platform.socket.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!platform.socket) {
        ShowConnectFailed(mainWindow);
        AbandonSend();
        return;
    }
    sockaddr_in server = {};
    server.sin_family = AF_INET;
    server.sin_addr.s_addr = inet_addr(dottedAddress);
    server.sin_port = htons(SmtpPort());
    WSAAsyncSelect(platform.socket.get(), mainWindow, WM_SOCKET_EVENT,
                   FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
    if (connect(platform.socket.get(), reinterpret_cast<const sockaddr*>(&server), sizeof server) ==
        0) {
        MarkSmtpConnecting(smtpSession, dottedAddress);
        return;
    }
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
        MarkSmtpConnecting(smtpSession, dottedAddress);
    } else if (error == WSAEISCONN && SendGreetingAccepted(sendState)) {
        ShowMessageBox(mainWindow, "You are already connected to the server", "Kestro", MB_OK);
    } else {
        ShowConnectFailed(mainWindow);
        AbandonSend();
    }
}

uint32_t HandleSmtpSocketMessage(HWND, WPARAM wParam, LPARAM lParam) {
    // The last notifications of a connection closed earlier belong to no session. The session's
    // own write notifications come with wParam 0.
    if (wParam != 0 && static_cast<SOCKET>(wParam) != platform.socket.get()) {
        return sendState;
    }
    const int event = WSAGETSELECTEVENT(lParam);
    if (event == FD_READ && platform.tls && SendIsIdle(sendState) && smtpSession.open) {
        // After the answer to QUIT the server's closing alert is still to be read: Winsock
        // reports the close only once every byte has been taken.
        char rest[kSmtpReceiveSize];
        while (platform.Receive(rest, sizeof rest) > 0) {
        }
        return sendState;
    }
    return HandleSmtpEvent(smtpSession, event, WSAGETSELECTERROR(lParam));
}

void EndFailedSend() {
    EndFailedSmtpSession(smtpSession);
    sendState = SMTP_IDLE;
}

void CancelRunningSend() {
    if (smtpSession.platform == nullptr) { // no session was started yet: nothing to close
        smtpSession.platform = &platform;
        smtpSession.message = &outgoingMessage;
        smtpSession.settings = mailWindows.settings;
    }
    CancelSmtpSend(smtpSession);
}
