// The TLS record layer between the socket and the session, with a stand-in security package
// whose records carry their content XOR 0x5A, over a socket that can take and give a byte at
// a time and block at any byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "mail/tls_channel.h"

namespace {

std::string Record(int type, const std::string& content) {
    std::string record = {static_cast<char>(type), 3, 3, static_cast<char>(content.size() >> 8),
                          static_cast<char>(content.size() & 0xFF)};
    for (char c : content) {
        record += static_cast<char>(c ^ 0x5A);
    }
    return record;
}

const std::string kServerHello = Record(22, "server hello");

// The handshake: the client's hello, the server's hello, the client's finished.
struct FakeEngine : TlsEngine {
    int step = 0;
    TlsStep Handshake(const unsigned char* input, size_t inputLength, size_t* consumed,
                      unsigned char* output, size_t outputSize, size_t* outputLength) override {
        const std::string flight = Record(22, step == 0 ? "client hello" : "finished");
        *outputLength = 0;
        if (step == 1) {
            if (inputLength < kServerHello.size() ||
                std::memcmp(input, kServerHello.data(), kServerHello.size()) != 0) {
                return TlsStep::Failed;
            }
            *consumed = kServerHello.size();
        }
        EXPECT_LE(flight.size(), outputSize);
        std::memcpy(output, flight.data(), flight.size());
        *outputLength = flight.size();
        return step++ == 0 ? TlsStep::Pending : TlsStep::Done;
    }
    bool Encrypt(const unsigned char* data, size_t length, unsigned char* output, size_t,
                 size_t* outputLength) override {
        const std::string record =
            Record(23, std::string(reinterpret_cast<const char*>(data), length));
        std::memcpy(output, record.data(), record.size());
        *outputLength = record.size();
        return true;
    }
    TlsRecordKind Decrypt(unsigned char* record, size_t length, size_t* offset,
                          size_t* plainLength) override {
        if (record[0] == 21) {
            return TlsRecordKind::Closed;
        }
        if (record[0] != 23) {
            return TlsRecordKind::Failed;
        }
        for (size_t i = 5; i < length; ++i) {
            record[i] ^= 0x5A;
        }
        *offset = 5;
        *plainLength = length - 5;
        return TlsRecordKind::Data;
    }
    void DescribeFailure(char* text, size_t size) override {
        std::snprintf(text, size, "The server's hello was not understood.");
    }
};

struct FakeSocket : TlsSocket {
    std::string wire;         // what the client sent
    std::string fromServer;   // what the server has sent so far
    size_t read = 0;          // how much of it the client has taken
    size_t maxSend = 1 << 30; // bytes a send takes at most
    size_t maxReceive = 1 << 30;
    std::set<size_t> blockAt; // a send starting at one of these offsets blocks, once
    bool closed = false;
    int posted = 0;

    int SendRaw(const unsigned char* data, int length) override {
        if (blockAt.erase(wire.size()) != 0) {
            return kTlsWouldBlock;
        }
        const size_t take = std::min(static_cast<size_t>(length), maxSend);
        wire.append(reinterpret_cast<const char*>(data), take);
        return static_cast<int>(take);
    }
    int ReceiveRaw(unsigned char* buffer, int size) override {
        if (read == fromServer.size()) {
            return closed ? 0 : kTlsWouldBlock;
        }
        const size_t count =
            std::min({static_cast<size_t>(size), maxReceive, fromServer.size() - read});
        std::memcpy(buffer, fromServer.data() + read, count);
        read += count;
        return static_cast<int>(count);
    }
    void PostReadEvent() override { ++posted; }
};

struct Connection {
    FakeEngine engine;
    FakeSocket socket;
    std::unique_ptr<TlsChannel> channel{new TlsChannel()};

    // Starts and runs the handshake as notifications would, up to 10000 of them.
    TlsStep Handshake() {
        StartTlsChannel(*channel, socket, engine);
        TlsStep step = TlsStep::Pending;
        for (int i = 0; i < 10000 && step == TlsStep::Pending; ++i) {
            step = ContinueTlsChannel(*channel);
        }
        return step;
    }
    // Everything that can be read now, `size` bytes per call.
    std::string ReadAll(int size, int* result = nullptr) {
        std::string text;
        char buffer[64];
        int count;
        while ((count = ReceiveTls(*channel, buffer, std::min(size, 64))) > 0) {
            text.append(buffer, static_cast<size_t>(count));
        }
        if (result != nullptr) {
            *result = count;
        }
        return text;
    }
};

TEST(TlsChannel, RecordLengthsComeFromTheirHeaders) {
    struct Case {
        unsigned char header[5];
        size_t length;
    };
    const Case cases[] = {
        {{22, 3, 1, 0, 5}, 10},      {{23, 3, 3, 0x48, 0x00}, 18437}, {{20, 3, 3, 0, 0}, 5},
        {{23, 3, 3, 0x48, 0x01}, 0}, {{24, 3, 3, 0, 5}, 0},           {{19, 3, 3, 0, 5}, 0},
        {{22, 2, 0, 0, 5}, 0},       {{'2', '2', '0', ' ', 'r'}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TlsRecordLength(c.header), c.length)
            << int(c.header[0]) << " " << int(c.header[3]);
    }
}

TEST(TlsChannel, AHandshakeThroughASocketOfSingleBytesEndsWithTheServersFirstWords) {
    Connection c;
    c.socket.maxSend = 1;
    c.socket.maxReceive = 1;
    for (size_t at = 0; at < 40; at += 3) {
        c.socket.blockAt.insert(at);
    }
    // The server's greeting follows its part of the handshake at once.
    c.socket.fromServer = kServerHello + Record(23, "220 ready\r\n");
    ASSERT_EQ(c.Handshake(), TlsStep::Done);
    EXPECT_EQ(c.socket.wire, Record(22, "client hello") + Record(22, "finished"));
    EXPECT_GT(c.socket.posted, 0) << "the greeting waits to be read";
    EXPECT_EQ(c.ReadAll(1024), "220 ready\r\n");
}

TEST(TlsChannel, ABlockedRecordIsFinishedBeforeItsBytesCountAsSent) {
    Connection c;
    c.socket.fromServer = kServerHello;
    ASSERT_EQ(c.Handshake(), TlsStep::Done);
    const size_t start = c.socket.wire.size();
    c.socket.blockAt = {start, start + 7};
    c.socket.maxSend = 7;
    const char text[] = "MAIL FROM: <ann@example.org>\r\n";
    const int length = static_cast<int>(std::strlen(text));
    EXPECT_EQ(SendTls(*c.channel, text, length), kTlsWouldBlock);
    EXPECT_EQ(SendTls(*c.channel, text, length), kTlsWouldBlock) << "blocked inside the record";
    EXPECT_EQ(SendTls(*c.channel, text, length), length);
    EXPECT_EQ(c.socket.wire.substr(start), Record(23, text)) << "each byte once";

    // More than a record's worth goes out a record at a time.
    c.socket.maxSend = 1 << 30;
    const std::string large(40000, 'x');
    const size_t before = c.socket.wire.size();
    size_t sent = 0;
    while (sent < large.size()) {
        const int count =
            SendTls(*c.channel, large.data() + sent, static_cast<int>(large.size() - sent));
        ASSERT_GT(count, 0);
        EXPECT_LE(count, 16384);
        sent += static_cast<size_t>(count);
    }
    EXPECT_EQ(c.socket.wire.substr(before), Record(23, std::string(16384, 'x')) +
                                                Record(23, std::string(16384, 'x')) +
                                                Record(23, std::string(7232, 'x')));
    // The bytes of a blocked record must be offered again, not fewer.
    c.socket.maxSend = 1;
    c.socket.blockAt = {c.socket.wire.size() + 1};
    EXPECT_EQ(SendTls(*c.channel, text, length), kTlsWouldBlock);
    EXPECT_EQ(SendTls(*c.channel, text, 4), kTlsSocketError);
}

TEST(TlsChannel, ReceivedRecordsAreCutOutAndHandedOverInPieces) {
    Connection c;
    c.socket.fromServer = kServerHello;
    ASSERT_EQ(c.Handshake(), TlsStep::Done);
    const std::string replies = "250-mail.example.org\r\n250-SIZE 1000\r\n250 AUTH PLAIN\r\n";
    c.socket.fromServer += Record(23, replies.substr(0, 20)) + Record(23, "") +
                           Record(23, replies.substr(20)) + Record(21, "close");
    c.socket.maxReceive = 13; // records arrive cut at odd places
    int last = 0;
    const int postedBefore = c.socket.posted;
    EXPECT_EQ(c.ReadAll(5, &last), replies);
    EXPECT_GT(c.socket.posted, postedBefore) << "bytes left over ask to be read";
    EXPECT_EQ(last, 0) << "the closing alert reads as the end";
}

TEST(TlsChannel, WhatIsNotTlsOrFailsEndsTheChannelWithAMessage) {
    struct Case {
        std::string fromServer;
        bool closed;
        std::string failure; // its beginning
    };
    const Case cases[] = {
        {"220 mail.example.org ESMTP\r\n", false, "The server does not answer in TLS"},
        {kServerHello.substr(0, 8), true, "The server closed the connection during the secure"},
        {Record(22, "something else"), false, "The server's hello was not understood."},
    };
    for (const Case& k : cases) {
        Connection c;
        c.socket.fromServer = k.fromServer;
        c.socket.closed = k.closed;
        EXPECT_EQ(c.Handshake(), TlsStep::Failed) << k.failure;
        EXPECT_EQ(std::string(c.channel->failure).substr(0, k.failure.size()), k.failure);
        char buffer[16];
        EXPECT_EQ(SendTls(*c.channel, "x", 1), kTlsSocketError);
        EXPECT_EQ(ReceiveTls(*c.channel, buffer, sizeof buffer), kTlsSocketError);
    }
    // A record the package cannot decrypt, after the handshake.
    Connection c;
    c.socket.fromServer = kServerHello + Record(22, "renegotiate");
    ASSERT_EQ(c.Handshake(), TlsStep::Done);
    char buffer[16];
    EXPECT_EQ(ReceiveTls(*c.channel, buffer, sizeof buffer), kTlsSocketError);
    EXPECT_STREQ(c.channel->failure, "The server's hello was not understood.");
}

} // namespace
