// The Internet check made before a send: whether the SMTP server can be reached from here,
// decided from local facts only (nothing is sent anywhere to find out).
#pragma once

// True for "localhost" (in any case) and for a dotted IPv4 address in 127.0.0.0/8.
bool IsLoopbackHost(const char* name);

// The verdict. A server on this machine is always reachable. Otherwise the machine counts as
// offline only when the local address found is 127.0.0.1; when no local address was found at
// all it counts as connected. localAddress holds the four bytes of the address in order.
bool InternetCheckPasses(const char* serverName, bool localAddressFound,
                         const unsigned char localAddress[4]);
