// A scripted SMTP server inside the test process: a thread that listens on 127.0.0.1 (on a port
// the system picks), takes one connection and answers each command from a script. A reply can
// be cut into writes of a few bytes each, with a pause after every write, and the reply to one
// command can be held back until the test releases it, so that a test stops the client at an
// exact step without relying on timing.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class ScriptedSmtpPeer {
  public:
    struct Script {
        std::string greeting = "220 peer.test ready\r\n";
        // The reply to each command by its first word: HELO, MAIL, RCPT, DATA, QUIT, and END
        // for the end-of-data mark. Unlisted commands get "500 unknown command".
        std::map<std::string, std::string> replies = {
            {"HELO", "250 peer.test\r\n"}, {"MAIL", "250 OK\r\n"},
            {"RCPT", "250 OK\r\n"},        {"DATA", "354 End data with <CR><LF>.<CR><LF>\r\n"},
            {"END", "250 OK: queued\r\n"}, {"QUIT", "221 bye\r\n"}};
        size_t writeSize = 0;      // bytes per write of the greeting and the replies; 0: whole
        DWORD pauseAfterWrite = 0; // milliseconds after each write of a reply that is cut
        std::string holdReplyTo;   // the reply to this word waits for Release()
    };

    explicit ScriptedSmtpPeer(Script script);
    ~ScriptedSmtpPeer();
    ScriptedSmtpPeer(const ScriptedSmtpPeer&) = delete;
    ScriptedSmtpPeer& operator=(const ScriptedSmtpPeer&) = delete;

    // Listens and starts the thread; false when the port cannot be opened.
    bool Start();
    int Port() const { return port_; }

    // Lets the held reply go.
    void Release();

    // Waits until the connection is over (the client closed it, or it failed) and the thread
    // has ended. True when it ended within the time. The results below are read after this.
    bool WaitForEnd(DWORD milliseconds);

    // Every command line received, without its CR LF (the mail data excluded).
    const std::vector<std::string>& Commands() const { return commands_; }
    // What came after the reply to DATA, with the transparency dots taken off: up to and
    // including the CR LF before the end-of-data mark, or everything received when no mark came.
    const std::string& Data() const { return data_; }
    bool EndOfDataSeen() const { return endOfDataSeen_; }
    // The client closed the connection (rather than the peer giving up).
    bool ClosedByClient() const { return closedByClient_; }

  private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Serve();
    // Sockets are kept as UINT_PTR (a SOCKET), so that this header needs no Winsock header.
    bool WaitReadable(UINT_PTR socket);
    bool Reply(UINT_PTR socket, const std::string& text);
    bool Answer(UINT_PTR socket, const std::string& word);

    Script script_;
    UINT_PTR listener_ = ~static_cast<UINT_PTR>(0); // INVALID_SOCKET
    int port_ = 0;
    HANDLE thread_ = nullptr;
    HANDLE release_ = nullptr;
    volatile LONG stopping_ = 0;
    bool started_ = false; // WSAStartup succeeded

    std::vector<std::string> commands_;
    std::string data_;
    bool endOfDataSeen_ = false;
    bool closedByClient_ = false;
};
