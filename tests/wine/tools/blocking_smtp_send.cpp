// The sending bench's yardstick: the plainest SMTP client Winsock allows. One blocking socket,
// HELO, MAIL FROM, RCPT TO, DATA, then a file sent as it is, 64 KB per send call, the
// end-of-data mark and QUIT. The file already holds the data as it goes over the wire (it ends
// with CR LF, transparency dots in place), so the server receives exactly its bytes.
//   blocking_smtp_send PORT FILE [ROUNDS]
// Sends the file ROUNDS times (default 1), each over a connection of its own to 127.0.0.1, and
// prints "BENCH blocking-send <round> <seconds>" per round. Exit code 1 on any failure.
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kBlockSize = 64 * 1024;

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool SendAll(SOCKET socket, const char* data, int length) {
    while (length > 0) {
        const int sent = send(socket, data, length, 0);
        if (sent <= 0) {
            return false;
        }
        data += sent;
        length -= sent;
    }
    return true;
}

// Reads one reply (its last line starts with three digits and a blank) and checks its code.
bool Reply(SOCKET socket, const char* code) {
    char text[4096];
    int used = 0;
    for (;;) {
        const int count = recv(socket, text + used, static_cast<int>(sizeof text) - used - 1, 0);
        if (count <= 0) {
            return false;
        }
        used += count;
        text[used] = '\0';
        const char* last = text;
        for (const char* line = text; (line = std::strstr(line, "\r\n")) != nullptr;) {
            line += 2;
            if (*line == '\0') {
                return std::strncmp(last, code, 3) == 0 && last[3] == ' ';
            }
            last = line;
        }
        if (used >= static_cast<int>(sizeof text) - 1) {
            return false;
        }
    }
}

bool Command(SOCKET socket, const char* line, const char* code) {
    return SendAll(socket, line, static_cast<int>(std::strlen(line))) && Reply(socket, code);
}

bool SendFile(SOCKET socket, const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    static char block[kBlockSize];
    bool ok = true;
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, block, sizeof block, &count, nullptr)) {
            ok = false;
            break;
        }
        if (count == 0) {
            break;
        }
        if (!SendAll(socket, block, static_cast<int>(count))) {
            ok = false;
            break;
        }
    }
    CloseHandle(file);
    return ok;
}

bool SendMessageOnce(unsigned short port, const char* path) {
    SOCKET server = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (server == INVALID_SOCKET) {
        return false;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    address.sin_port = htons(port);
    const bool ok =
        connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        Reply(server, "220") && Command(server, "HELO bench\r\n", "250") &&
        Command(server, "MAIL FROM: <ann@example.org>\r\n", "250") &&
        Command(server, "RCPT TO: <bob@example.net>\r\n", "250") &&
        Command(server, "DATA\r\n", "354") && SendFile(server, path) &&
        Command(server, ".\r\n", "250") && Command(server, "QUIT\r\n", "221");
    closesocket(server);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: blocking_smtp_send PORT FILE [ROUNDS]\n");
        return 2;
    }
    const unsigned short port = static_cast<unsigned short>(std::atoi(argv[1]));
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return 1;
    }
    int status = 0;
    for (int round = 0; round < rounds && status == 0; ++round) {
        const double t0 = Now();
        if (!SendMessageOnce(port, argv[2])) {
            std::fprintf(stderr, "blocking_smtp_send: the send failed (%d)\n", WSAGetLastError());
            status = 1;
            break;
        }
        std::printf("BENCH blocking-send %d %.4f\n", round, Now() - t0);
        std::fflush(stdout);
    }
    WSACleanup();
    return status;
}
