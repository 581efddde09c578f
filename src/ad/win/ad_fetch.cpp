#include "base/win/scoped_socket.h" // Winsock before <windows.h>

#include "ad/win/ad_fetch.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "ad/ad_url.h"
#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "mail/win/internet_check.h"

namespace {

// The one connection in use.
struct AdFetch {
    bool winsockStarted;
    HANDLE lookup; // the host lookup under way
    char resolverBuffer[MAXGETHOSTSTRUCT];
    AdUrl url; // host, port and path of the address being fetched
    ScopedSocket socket;
    char request[kAdTextSize]; // made when the fetch starts, sent once connected
    size_t requestLength;
    size_t requestSent;
};

AdFetch fetch;

// True between the host lookup and the first event of the connected socket.
bool Connecting() {
    return fetch.winsockStarted && fetch.lookup == nullptr && !fetch.socket;
}

// What the worker thread gets: nothing of the banner's state, only where to connect and where
// to report.
struct ConnectOrder {
    HWND banner;
    in_addr address;
    u_short port;
};

// Connects (blocking) and registers the socket for the banner's window messages. A failure is
// reported, so that the banner can end its phase.
DWORD WINAPI ConnectThread(void* parameter) {
    const std::unique_ptr<ConnectOrder> order(static_cast<ConnectOrder*>(parameter));
    ScopedSocket connection(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_port = htons(order->port);
    where.sin_addr = order->address;
    const bool connected =
        connection &&
        (connect(connection.get(), reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0 ||
         WSAGetLastError() == WSAEWOULDBLOCK);
    if (connected && WSAAsyncSelect(connection.get(), order->banner, WM_AD_SOCKET_EVENT,
                                    FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) == 0) {
        connection.release(); // the banner closes it
    } else {
        PostMessageA(order->banner, WM_AD_CONNECT_FAILED, 0, 0);
    }
    return 0;
}

void SendRestOfRequest() {
    while (fetch.requestSent < fetch.requestLength) {
        const int sent = send(fetch.socket.get(), fetch.request + fetch.requestSent,
                              static_cast<int>(fetch.requestLength - fetch.requestSent), 0);
        if (sent <= 0) {
            return; // the next write event sends the rest
        }
        fetch.requestSent += static_cast<size_t>(sent);
    }
}

// Receives up to 1024 bytes; false when nothing more is there.
bool ReceiveSome(AdReplySink sink) {
    char data[1024];
    const int received = recv(fetch.socket.get(), data, sizeof data, 0);
    if (received <= 0) {
        return false;
    }
    sink(data, static_cast<size_t>(received));
    return true;
}

} // namespace

bool StartAdFetch(HWND banner, const char* url) {
    CloseAdFetch();
    WSADATA granted;
    if (WSAStartup(MAKEWORD(1, 1), &granted) != 0) {
        return false;
    }
    fetch.winsockStarted = true;
    if (granted.wVersion == MAKEWORD(1, 1) && ParseAdUrl(url, fetch.url)) {
        fetch.requestLength = FormatAdRequest(fetch.url, fetch.request, sizeof fetch.request);
    }
    if (fetch.requestLength == 0 || !IsInternetReachable(fetch.url.host)) {
        CloseAdFetch();
        return false;
    }
    fetch.lookup = WSAAsyncGetHostByName(banner, WM_AD_HOST_RESOLVED, fetch.url.host,
                                         fetch.resolverBuffer, sizeof fetch.resolverBuffer);
    if (fetch.lookup == nullptr) {
        char text[96];
        std::snprintf(text, sizeof text, "WSAAsyncGetHostByName produced an error, %d",
                      WSAGetLastError());
        ShowMessageBox(banner, text, "WSAAsync... ERROR", MB_OK | MB_ICONEXCLAMATION);
        CloseAdFetch();
        return false;
    }
    return true;
}

bool ContinueAdFetch(HWND banner, WPARAM lookup, LPARAM lookupResult) {
    if (fetch.lookup == nullptr || reinterpret_cast<HANDLE>(lookup) != fetch.lookup) {
        return true; // a lookup that was given up
    }
    fetch.lookup = nullptr;
    const auto* host = reinterpret_cast<const hostent*>(fetch.resolverBuffer);
    if (WSAGETASYNCERROR(lookupResult) != 0 || host->h_addrtype != AF_INET ||
        host->h_length != sizeof(in_addr) || host->h_addr_list[0] == nullptr) {
        CloseAdFetch();
        return false;
    }
    auto order = std::make_unique<ConnectOrder>();
    order->banner = banner;
    order->port = static_cast<u_short>(fetch.url.port);
    std::memcpy(&order->address, host->h_addr_list[0], sizeof order->address);
    const ScopedKernelHandle thread(
        CreateThread(nullptr, 0, ConnectThread, order.get(), 0, nullptr));
    if (!thread) {
        CloseAdFetch();
        return false;
    }
    order.release(); // the thread owns it now, and ends by itself
    return true;
}

bool AdConnectFailed() {
    if (!Connecting()) {
        return false;
    }
    CloseAdFetch();
    return true;
}

bool HandleAdSocketEvent(HWND banner, WPARAM socketHandle, LPARAM event, AdReplySink sink) {
    const SOCKET eventSocket = static_cast<SOCKET>(socketHandle);
    if (Connecting()) {
        fetch.socket.reset(eventSocket); // the worker thread's socket reports for the first time
    } else if (!fetch.winsockStarted || eventSocket != fetch.socket.get()) {
        return false;
    }
    switch (WSAGETSELECTEVENT(event)) {
    case FD_CONNECT:
        PostMessageA(banner, WM_AD_SOCKET_EVENT, socketHandle, WSAMAKESELECTREPLY(FD_WRITE, 0));
        return false;
    case FD_WRITE:
        SendRestOfRequest();
        return false;
    case FD_READ:
        ReceiveSome(sink);
        return false;
    case FD_CLOSE:
        // Bytes may still wait behind the close: read them all first.
        while (ReceiveSome(sink)) {
        }
        CloseAdFetch();
        return true;
    default:
        return false;
    }
}

void CloseAdFetch() {
    if (!fetch.winsockStarted) {
        return;
    }
    if (fetch.lookup != nullptr) {
        WSACancelAsyncRequest(fetch.lookup);
    }
    fetch.socket.reset();
    WSACleanup();
    fetch.winsockStarted = false;
    fetch.lookup = nullptr;
    fetch.url = AdUrl{};
    fetch.request[0] = '\0';
    fetch.requestLength = 0;
    fetch.requestSent = 0;
}
