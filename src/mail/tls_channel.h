// A TLS connection laid between the asynchronous socket and the SMTP session: the session keeps
// sending and receiving plain bytes with the would-block rules of its platform, and this layer
// turns them into TLS records and back. It cuts the bytes the server sends into whole records
// (a 5-byte header: content type, version, length), hands each to the security package, and
// keeps what the socket would not take until the next write notification.
//
// The cryptography and the certificate belong to a TlsEngine (the platform's security package);
// the socket and the window messages to a TlsSocket. Sizes are fixed: a record holds at most
// 16384 bytes of content and 2048 of expansion.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTlsRecordHeaderSize = 5;
constexpr size_t kTlsMaxRecordSize = kTlsRecordHeaderSize + 16384 + 2048;
constexpr size_t kTlsMaxPlaintext = 16384;
constexpr size_t kTlsIncomingSize = 2 * kTlsMaxRecordSize; // whole records and the start of one
constexpr size_t kTlsOutgoingSize = 2 * kTlsMaxRecordSize; // a record, or a handshake flight
constexpr size_t kTlsFailureSize = 512;

// The length of the record whose header starts `header` (at least 5 bytes): the header and its
// content. 0 when the bytes cannot start a record: a content type other than 20 to 23
// (change cipher spec, alert, handshake, application data), a major version other than 3, or
// a length beyond the largest record.
size_t TlsRecordLength(const unsigned char* header);

enum class TlsStep { Pending, Done, Failed };

enum class TlsRecordKind { Data, Closed, Failed };

// The platform's security package, for one connection.
struct TlsEngine {
    virtual ~TlsEngine() = default;
    // A step of the handshake. input holds whole records the server sent (possibly none, for
    // the first step); *consumed is set to the bytes taken (what is left is kept for the next
    // step, or is data after the handshake) and output receives what to send (*outputLength
    // bytes). Pending while more is to come from the server.
    virtual TlsStep Handshake(const unsigned char* input, size_t inputLength, size_t* consumed,
                              unsigned char* output, size_t outputSize, size_t* outputLength) = 0;
    // Encrypts length bytes (at most kTlsMaxPlaintext) into records in output. False on failure.
    virtual bool Encrypt(const unsigned char* data, size_t length, unsigned char* output,
                         size_t outputSize, size_t* outputLength) = 0;
    // Decrypts one whole record in place: its content is record[*offset, *offset + *length).
    // Closed for the server's closing alert.
    virtual TlsRecordKind Decrypt(unsigned char* record, size_t length, size_t* offset,
                                  size_t* plainLength) = 0;
    // What went wrong, for the user, after a step failed.
    virtual void DescribeFailure(char* text, size_t size) = 0;
};

// What SendRaw and ReceiveRaw return instead of a count.
constexpr int kTlsWouldBlock = -1;
constexpr int kTlsSocketError = -2;

// The socket under the connection and the window that hears of it.
struct TlsSocket {
    virtual ~TlsSocket() = default;
    // Sends up to length bytes: the count taken, kTlsWouldBlock or kTlsSocketError.
    virtual int SendRaw(const unsigned char* data, int length) = 0;
    // Receives up to size bytes: the count (0 when the server has closed), kTlsWouldBlock or
    // kTlsSocketError.
    virtual int ReceiveRaw(unsigned char* buffer, int size) = 0;
    // Posts a read notification: bytes already taken from the socket wait to be read.
    virtual void PostReadEvent() = 0;
};

struct TlsChannel {
    TlsSocket* socket;
    TlsEngine* engine;
    int handshaking;
    int engineDone; // the engine finished the handshake; its last flight may still be going out
    int established;
    int failed;
    char failure[kTlsFailureSize]; // what went wrong, once failed

    unsigned char incoming[kTlsIncomingSize]; // received and not yet decrypted
    size_t incomingLength;
    unsigned char plain[kTlsMaxPlaintext]; // decrypted and not yet read
    size_t plainOffset;
    size_t plainLength;

    unsigned char outgoing[kTlsOutgoingSize]; // encrypted and not yet sent
    size_t outgoingLength;
    size_t outgoingSent;
    size_t pendingPlain; // the plain bytes the outgoing records carry, reported once they are sent
};

// Starts a handshake on a connected socket: the engine's first flight goes out (what the
// socket does not take now goes with the next write notification).
void StartTlsChannel(TlsChannel& channel, TlsSocket& socket, TlsEngine& engine);

// Moves the handshake on after a socket notification: sends what waits, reads what the server
// sent and gives the engine every whole record. Done once the handshake is over and its last
// flight is sent (bytes that came after it wait for a read notification, which is posted);
// Failed with channel.failure set.
TlsStep ContinueTlsChannel(TlsChannel& channel);

// Sends plain bytes as the session's platform does: the count taken, kTlsWouldBlock or
// kTlsSocketError. Bytes are taken only once the records that carry them are wholly sent: when
// the socket stops in the middle of a record, the call returns kTlsWouldBlock and the next
// call, which must offer the same bytes again, finishes the record and reports them taken.
int SendTls(TlsChannel& channel, const char* data, int length);

// Receives plain bytes: the count, 0 when the server has closed the connection (or sent its
// closing alert), kTlsWouldBlock or kTlsSocketError. When decrypted bytes or whole records
// are left over, a read notification is posted for them.
int ReceiveTls(TlsChannel& channel, char* buffer, int size);
