// The banner's one HTTP/1.0 GET at a time over Windows Sockets: the asynchronous host lookup, a
// short worker thread that makes the blocking connect and registers the socket, then the
// socket's events as window messages to the banner.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr UINT WM_AD_HOST_RESOLVED = WM_USER + 2;  // 1026
constexpr UINT WM_AD_SOCKET_EVENT = WM_USER + 4;   // 1028
constexpr UINT WM_AD_CONNECT_FAILED = WM_USER + 5; // the worker thread could not connect

// Receives the bytes of the reply as they arrive.
using AdReplySink = void (*)(const char* data, size_t count);

// Starts Winsock 1.1, checks that the machine is online and asks for the host of `url`; a fetch
// still open is closed first. False when the fetch ended already (the caller ends its phase);
// nothing is left open then.
bool StartAdFetch(HWND banner, const char* url);

// WM_AD_HOST_RESOLVED: starts the worker thread that connects. False when the lookup failed or
// the thread could not start; the fetch is closed then. A lookup given up earlier is ignored.
bool ContinueAdFetch(HWND banner, WPARAM lookup, LPARAM lookupResult);

// WM_AD_CONNECT_FAILED: true (and the fetch is closed) when it concerns the fetch under way.
bool AdConnectFailed();

// WM_AD_SOCKET_EVENT: sends the request and hands received bytes to `sink`. True when the
// server closed the connection; the fetch is closed then, after every byte was read.
bool HandleAdSocketEvent(HWND banner, WPARAM socket, LPARAM event, AdReplySink sink);

// Closes the socket, cancels a lookup, releases Winsock and forgets the request and address.
void CloseAdFetch();
