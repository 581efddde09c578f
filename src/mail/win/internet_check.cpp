#include "base/win/scoped_socket.h" // Winsock before <windows.h>

#include <ws2tcpip.h>

#include "mail/win/internet_check.h"

#include <cstring>

#include "mail/reachability.h"

namespace {

// The first address of the machine's own name.
bool AddressOfHostName(unsigned char address[4]) {
    char name[1024] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return false;
    }
    const hostent* host = gethostbyname(name);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr) {
        return false;
    }
    std::memcpy(address, host->h_addr_list[0], 4);
    return true;
}

// The address of the first interface that is up and not the loopback, else the loopback's.
// The interface list is read from a socket that is never connected.
bool AddressOfInterfaces(unsigned char address[4]) {
    const ScopedSocket probe(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    INTERFACE_INFO interfaces[32];
    DWORD bytes = 0;
    if (!probe || WSAIoctl(probe.get(), SIO_GET_INTERFACE_LIST, nullptr, 0, interfaces,
                           sizeof interfaces, &bytes, nullptr, nullptr) != 0) {
        return false;
    }
    const int count = static_cast<int>(bytes / sizeof(INTERFACE_INFO));
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const sockaddr_in& where = interfaces[i].iiAddress.AddressIn;
        if (where.sin_family != AF_INET || (interfaces[i].iiFlags & IFF_UP) == 0) {
            continue;
        }
        std::memcpy(address, &where.sin_addr, 4);
        found = true;
        if ((interfaces[i].iiFlags & IFF_LOOPBACK) == 0) {
            return true;
        }
    }
    return found;
}

} // namespace

bool IsInternetReachable(const char* serverName) {
    if (IsLoopbackHost(serverName)) {
        return true; // the server is on this machine
    }
    unsigned char address[4] = {};
    const bool found = AddressOfHostName(address) || AddressOfInterfaces(address);
    return InternetCheckPasses(serverName, found, address);
}
