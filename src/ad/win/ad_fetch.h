// One HTTP/1.0 GET of the banner over Windows Sockets: the asynchronous host lookup, a short
// worker thread that makes the blocking connect and registers the socket, then the socket's
// events as window messages to the banner.
#pragma once

#include <windows.h>

#include "ad/ad_url.h"

constexpr UINT WM_AD_HOST_RESOLVED = WM_USER + 2;  // 1026
constexpr UINT WM_AD_SOCKET_EVENT = WM_USER + 4;   // 1028
constexpr UINT WM_AD_CONNECT_FAILED = WM_USER + 5; // the worker thread could not connect

struct AdFetch {
    int winsockStarted;
    HANDLE lookup;             // the host lookup under way
    char resolverBuffer[1024]; // the host entry (MAXGETHOSTSTRUCT bytes)
    AdUrl url;                 // host, port and path of the address being fetched
    UINT_PTR socket;           // a SOCKET; INVALID_SOCKET while none is open
    char request[kAdTextSize]; // made when the fetch starts, sent once connected
    size_t requestLength;
    size_t requestSent;
};

// Receives the bytes of the reply as they arrive.
using AdReplySink = void (*)(const char* data, size_t count);

// Starts Winsock 1.1, checks that the machine is online and asks for the host of `url`. False
// when the fetch ended already (the caller ends its phase); nothing is left open then.
bool StartAdFetch(AdFetch& fetch, HWND banner, const char* url);

// WM_AD_HOST_RESOLVED: starts the worker thread that connects. False when the lookup failed or
// the thread could not start; the fetch is closed then.
bool ContinueAdFetch(AdFetch& fetch, HWND banner, LPARAM lookupResult);

// WM_AD_SOCKET_EVENT: connects, sends the request and hands received bytes to `sink`. True when
// the server closed the connection (the fetch is closed then, after every byte was read).
bool HandleAdSocketEvent(AdFetch& fetch, HWND banner, WPARAM socket, LPARAM event,
                         AdReplySink sink);

// True between the host lookup and the first event of the connected socket.
bool AdFetchIsConnecting(const AdFetch& fetch);

// Closes the socket, cancels a lookup, releases Winsock and forgets the request and address.
void CloseAdFetch(AdFetch& fetch);
