// The SMTP client's Win32 binding: Winsock 1.1 with window-message notification. The host
// lookup ends in WM_USER+2 and every socket event arrives as WM_USER+1 at the main window,
// which hands them to OnHostResolved and HandleSmtpSocketMessage.
#pragma once

#include <windows.h>

#include <cstdint>

// Starts Winsock, checks that the Internet can be reached and starts the lookup of the server
// (sendState becomes SMTP_RESOLVING). 0 when nothing was started (Winsock missing, no Internet,
// or the lookup could not be requested; the user has been told), 1 otherwise.
int StartSmtpSend(HWND mainWindow, const char* serverName);

// WM_USER+2: the lookup is done. Prepares the message and connects, or ends the session.
void OnHostResolved(HWND mainWindow, WPARAM wParam, LPARAM lParam);

// Creates the socket, registers it for notification to the main window and connects.
void ConnectSmtpServer(HWND mainWindow, const char* dottedAddress);

// WM_USER+1: one socket notification. Returns sendState; with the error bits set the caller
// ends the session with EndFailedSend.
uint32_t HandleSmtpSocketMessage(HWND mainWindow, WPARAM wParam, LPARAM lParam);

// Ends a failed session and returns sendState to 0.
void EndFailedSend();

// The cancel-send command: acts only while a send is running and before its end-of-data mark.
void CancelRunningSend();
