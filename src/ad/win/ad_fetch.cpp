#include <winsock2.h> // before <windows.h>

#include "ad/win/ad_fetch.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/win/message_box.h"
#include "mail/win/internet_check.h"

static_assert(sizeof(AdFetch::resolverBuffer) >= MAXGETHOSTSTRUCT, "the host entry must fit");
static_assert(sizeof(AdFetch::socket) == sizeof(SOCKET), "a socket handle must fit");

namespace {

// What the worker thread gets: nothing of the banner's state, only where to connect and where
// to report.
struct ConnectOrder {
    HWND banner;
    in_addr address;
    u_short port;
};

// Connects (blocking) and registers the socket for the banner's window messages. A failure is
// reported so that the banner can end its phase.
DWORD WINAPI ConnectThread(void* parameter) {
    const std::unique_ptr<ConnectOrder> order(static_cast<ConnectOrder*>(parameter));
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connection == INVALID_SOCKET) {
        PostMessageA(order->banner, WM_AD_CONNECT_FAILED, 0, 0);
        return 0;
    }
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_port = htons(order->port);
    where.sin_addr = order->address;
    const bool connected =
        connect(connection, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0 ||
        WSAGetLastError() == WSAEWOULDBLOCK;
    if (!connected || WSAAsyncSelect(connection, order->banner, WM_AD_SOCKET_EVENT,
                                     FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0) {
        closesocket(connection);
        PostMessageA(order->banner, WM_AD_CONNECT_FAILED, 0, 0);
    }
    return 0;
}

void SendRestOfRequest(AdFetch& fetch) {
    while (fetch.requestSent < fetch.requestLength) {
        const int sent = send(fetch.socket, fetch.request + fetch.requestSent,
                              static_cast<int>(fetch.requestLength - fetch.requestSent), 0);
        if (sent <= 0) {
            return; // the next write event sends the rest
        }
        fetch.requestSent += static_cast<size_t>(sent);
    }
}

// Receives up to 1024 bytes; false when nothing more is there.
bool ReceiveSome(AdFetch& fetch, AdReplySink sink) {
    char data[1024];
    const int received = recv(fetch.socket, data, sizeof data, 0);
    if (received <= 0) {
        return false;
    }
    sink(data, static_cast<size_t>(received));
    return true;
}

} // namespace

bool StartAdFetch(AdFetch& fetch, HWND banner, const char* url) {
    CloseAdFetch(fetch);
    WSADATA granted;
    if (WSAStartup(MAKEWORD(1, 1), &granted) != 0) {
        return false;
    }
    fetch.winsockStarted = 1;
    if (granted.wVersion == MAKEWORD(1, 1) && ParseAdUrl(url, fetch.url)) {
        // Sent once the connection is made.
        fetch.requestLength = FormatAdRequest(fetch.url, fetch.request, sizeof fetch.request);
    }
    if (fetch.requestLength == 0 || !IsInternetReachable(fetch.url.host)) {
        CloseAdFetch(fetch);
        return false;
    }
    fetch.lookup = WSAAsyncGetHostByName(banner, WM_AD_HOST_RESOLVED, fetch.url.host,
                                         fetch.resolverBuffer, sizeof fetch.resolverBuffer);
    if (fetch.lookup == nullptr) {
        char text[96];
        std::snprintf(text, sizeof text, "WSAAsyncGetHostByName produced an error, %d",
                      WSAGetLastError());
        ShowMessageBox(banner, text, "WSAAsync... ERROR", MB_OK | MB_ICONEXCLAMATION);
        CloseAdFetch(fetch);
        return false;
    }
    return true;
}

bool ContinueAdFetch(AdFetch& fetch, HWND banner, LPARAM lookupResult) {
    fetch.lookup = nullptr;
    const auto* host = reinterpret_cast<const hostent*>(fetch.resolverBuffer);
    if (WSAGETASYNCERROR(lookupResult) != 0 || host->h_addrtype != AF_INET ||
        host->h_length != sizeof(in_addr) || host->h_addr_list[0] == nullptr) {
        CloseAdFetch(fetch);
        return false;
    }
    auto* order = new ConnectOrder{banner, {}, static_cast<u_short>(fetch.url.port)};
    std::memcpy(&order->address, host->h_addr_list[0], sizeof order->address);
    HANDLE thread = CreateThread(nullptr, 0, ConnectThread, order, 0, nullptr);
    if (thread == nullptr) {
        delete order;
        CloseAdFetch(fetch);
        return false;
    }
    CloseHandle(thread); // the thread ends by itself
    return true;
}

bool HandleAdSocketEvent(AdFetch& fetch, HWND banner, WPARAM socketHandle, LPARAM event,
                         AdReplySink sink) {
    const SOCKET eventSocket = static_cast<SOCKET>(socketHandle);
    if (AdFetchIsConnecting(fetch)) {
        fetch.socket = eventSocket; // the worker thread's socket reports for the first time
    } else if (!fetch.winsockStarted || eventSocket != fetch.socket) {
        return false;
    }
    switch (WSAGETSELECTEVENT(event)) {
    case FD_CONNECT:
        PostMessageA(banner, WM_AD_SOCKET_EVENT, socketHandle, WSAMAKESELECTREPLY(FD_WRITE, 0));
        return false;
    case FD_WRITE:
        SendRestOfRequest(fetch);
        return false;
    case FD_READ:
        ReceiveSome(fetch, sink);
        return false;
    case FD_CLOSE:
        // Bytes may still wait behind the close: read them all first.
        while (ReceiveSome(fetch, sink)) {
        }
        CloseAdFetch(fetch);
        return true;
    default:
        return false;
    }
}

void CloseAdFetch(AdFetch& fetch) {
    if (fetch.winsockStarted) {
        if (fetch.lookup != nullptr) {
            WSACancelAsyncRequest(fetch.lookup);
        }
        if (fetch.socket != INVALID_SOCKET) {
            closesocket(fetch.socket);
        }
        WSACleanup();
    }
    std::memset(&fetch, 0, sizeof fetch);
    fetch.socket = INVALID_SOCKET;
}

bool AdFetchIsConnecting(const AdFetch& fetch) {
    return fetch.winsockStarted && fetch.lookup == nullptr && fetch.socket == INVALID_SOCKET;
}
