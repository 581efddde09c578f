// A Winsock socket that closes itself, in the manner of base/win/scoped_handles.h. Winsock's
// header must come before <windows.h>: include this one first, as the socket code does.
#pragma once

#include <winsock2.h>

#include "base/scoped_handle.h"

namespace scoped_handle_traits {

struct Socket {
    using Handle = SOCKET;
    static Handle None() { return INVALID_SOCKET; }
    static void Release(Handle handle) { closesocket(handle); }
};

} // namespace scoped_handle_traits

using ScopedSocket = ScopedHandle<scoped_handle_traits::Socket>;
