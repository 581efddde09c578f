// The Internet check made before an SMTP send.
#pragma once

// True unless the machine is plainly offline: a server on this machine (localhost, 127.x.x.x)
// always counts as reachable; otherwise the local address is taken from the machine's own name,
// or failing that from its network interfaces, and only 127.0.0.1 counts as offline. Nothing is
// sent anywhere to find out. Winsock must have been started.
bool IsInternetReachable(const char* serverName);
