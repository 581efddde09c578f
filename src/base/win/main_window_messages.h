// The private messages of the main window. The subsystems post them to the main window handle
// they are given; the main window hands the first two to the SMTP client.
#pragma once

#include <windows.h>

constexpr UINT WM_SOCKET_EVENT = WM_USER + 1;     // a socket notification of the SMTP session
constexpr UINT WM_HOST_LOOKUP_DONE = WM_USER + 2; // the SMTP server's host lookup has ended
constexpr UINT WM_RELAYOUT_BODY = WM_USER + 3;    // lay out the body and attachment strip again
