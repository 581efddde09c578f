#include "mail/tls_channel.h"

#include <cstring>

#include "base/text_fields.h"

namespace {

enum class FlushResult { Sent, Blocked, Failed };

void Fail(TlsChannel& channel, const char* text) {
    channel.failed = 1;
    if (text != nullptr) {
        CopyField(channel.failure, sizeof channel.failure, text);
    } else {
        channel.failure[0] = '\0';
        channel.engine->DescribeFailure(channel.failure, sizeof channel.failure);
        channel.failure[sizeof channel.failure - 1] = '\0';
    }
}

// Sends what waits in outgoing.
FlushResult Flush(TlsChannel& channel) {
    while (channel.outgoingSent < channel.outgoingLength) {
        const size_t rest = channel.outgoingLength - channel.outgoingSent;
        const int sent = channel.socket->SendRaw(channel.outgoing + channel.outgoingSent,
                                                 static_cast<int>(rest));
        if (sent == kTlsWouldBlock) {
            return FlushResult::Blocked;
        }
        if (sent <= 0 || static_cast<size_t>(sent) > rest) {
            Fail(channel, "The connection to the server was lost.");
            return FlushResult::Failed;
        }
        channel.outgoingSent += static_cast<size_t>(sent);
    }
    channel.outgoingLength = 0;
    channel.outgoingSent = 0;
    return FlushResult::Sent;
}

// The length of the whole records at the start of incoming; 0 when there is none yet. A
// header that cannot start a record fails the channel.
size_t WholeRecords(TlsChannel& channel) {
    size_t at = 0;
    while (channel.incomingLength - at >= kTlsRecordHeaderSize) {
        const size_t record = TlsRecordLength(channel.incoming + at);
        if (record == 0) {
            Fail(channel, "The server does not answer in TLS: is the port right for the "
                          "connection security chosen?");
            return 0;
        }
        if (record > channel.incomingLength - at) {
            break;
        }
        at += record;
    }
    return at;
}

void DropIncoming(TlsChannel& channel, size_t count) {
    std::memmove(channel.incoming, channel.incoming + count, channel.incomingLength - count);
    channel.incomingLength -= count;
}

// Reads what the socket holds into incoming: the raw result.
int ReadIncoming(TlsChannel& channel) {
    const size_t room = sizeof channel.incoming - channel.incomingLength;
    if (room == 0) {
        Fail(channel, "The server sent a TLS record that is too large.");
        return kTlsSocketError;
    }
    const int received = channel.socket->ReceiveRaw(channel.incoming + channel.incomingLength,
                                                    static_cast<int>(room));
    if (received > 0 && static_cast<size_t>(received) <= room) {
        channel.incomingLength += static_cast<size_t>(received);
        return received;
    }
    if (received == kTlsWouldBlock || received == 0) {
        return received;
    }
    return kTlsSocketError;
}

// A handshake step over input; its output goes into the empty outgoing buffer.
void HandshakeStep(TlsChannel& channel, size_t inputLength, size_t* consumed) {
    size_t produced = 0;
    *consumed = 0;
    const TlsStep step =
        channel.engine->Handshake(channel.incoming, inputLength, consumed, channel.outgoing,
                                  sizeof channel.outgoing, &produced);
    if (step == TlsStep::Failed || *consumed > inputLength || produced > sizeof channel.outgoing) {
        Fail(channel, nullptr);
        return;
    }
    DropIncoming(channel, *consumed);
    channel.outgoingLength = produced;
    channel.outgoingSent = 0;
    if (step == TlsStep::Done) {
        channel.engineDone = 1;
    }
}

TlsStep FinishHandshake(TlsChannel& channel) {
    channel.handshaking = 0;
    channel.established = 1;
    // The server may speak right after the handshake, in bytes taken already or still in the
    // socket: a read notification looks for them (finding none, the read would block).
    channel.socket->PostReadEvent();
    return TlsStep::Done;
}

// Hands out decrypted bytes, and asks for another read notification while more are ready.
int TakePlain(TlsChannel& channel, char* buffer, int size) {
    size_t count = channel.plainLength;
    if (count > static_cast<size_t>(size)) {
        count = static_cast<size_t>(size);
    }
    std::memcpy(buffer, channel.plain + channel.plainOffset, count);
    channel.plainOffset += count;
    channel.plainLength -= count;
    if (channel.plainLength > 0 || WholeRecords(channel) > 0) {
        channel.socket->PostReadEvent();
    }
    return static_cast<int>(count);
}

} // namespace

size_t TlsRecordLength(const unsigned char* header) {
    if (header[0] < 20 || header[0] > 23 || header[1] != 3) {
        return 0;
    }
    const size_t length = kTlsRecordHeaderSize + (static_cast<size_t>(header[3]) << 8 | header[4]);
    return length <= kTlsMaxRecordSize ? length : 0;
}

void StartTlsChannel(TlsChannel& channel, TlsSocket& socket, TlsEngine& engine) {
    std::memset(&channel, 0, sizeof channel);
    channel.socket = &socket;
    channel.engine = &engine;
    channel.handshaking = 1;
    size_t consumed = 0;
    HandshakeStep(channel, 0, &consumed);
    if (!channel.failed) {
        Flush(channel);
    }
}

TlsStep ContinueTlsChannel(TlsChannel& channel) {
    if (channel.failed) {
        return TlsStep::Failed;
    }
    if (channel.established) {
        return TlsStep::Done;
    }
    for (;;) {
        switch (Flush(channel)) {
        case FlushResult::Blocked:
            return TlsStep::Pending; // the rest goes with the next write notification
        case FlushResult::Failed:
            return TlsStep::Failed;
        case FlushResult::Sent:
            break;
        }
        if (channel.engineDone) {
            return FinishHandshake(channel);
        }
        const size_t whole = WholeRecords(channel);
        if (channel.failed) {
            return TlsStep::Failed;
        }
        if (whole > 0) {
            size_t consumed = 0;
            HandshakeStep(channel, whole, &consumed);
            if (channel.failed) {
                return TlsStep::Failed;
            }
            if (consumed > 0 || channel.outgoingLength > 0 || channel.engineDone) {
                continue;
            }
        }
        const int received = ReadIncoming(channel);
        if (received == kTlsWouldBlock) {
            return TlsStep::Pending;
        }
        if (received == 0) {
            Fail(channel, "The server closed the connection during the secure handshake.");
        } else if (received < 0 && !channel.failed) {
            Fail(channel, "The connection to the server was lost.");
        }
        if (channel.failed) {
            return TlsStep::Failed;
        }
    }
}

int SendTls(TlsChannel& channel, const char* data, int length) {
    if (!channel.established || channel.failed || length <= 0) {
        return kTlsSocketError;
    }
    if (channel.pendingPlain == 0) {
        size_t take = static_cast<size_t>(length);
        if (take > kTlsMaxPlaintext) {
            take = kTlsMaxPlaintext;
        }
        size_t produced = 0;
        if (!channel.engine->Encrypt(reinterpret_cast<const unsigned char*>(data), take,
                                     channel.outgoing, sizeof channel.outgoing, &produced) ||
            produced == 0 || produced > sizeof channel.outgoing) {
            Fail(channel, nullptr);
            return kTlsSocketError;
        }
        channel.outgoingLength = produced;
        channel.outgoingSent = 0;
        channel.pendingPlain = take;
    } else if (channel.pendingPlain > static_cast<size_t>(length)) {
        Fail(channel, "The connection was used out of turn.");
        return kTlsSocketError; // the caller did not offer the bytes again
    }
    switch (Flush(channel)) {
    case FlushResult::Blocked:
        return kTlsWouldBlock;
    case FlushResult::Failed:
        return kTlsSocketError;
    case FlushResult::Sent:
        break;
    }
    const size_t taken = channel.pendingPlain;
    channel.pendingPlain = 0;
    return static_cast<int>(taken);
}

int ReceiveTls(TlsChannel& channel, char* buffer, int size) {
    if (channel.failed || size <= 0) {
        return kTlsSocketError;
    }
    if (!channel.established) {
        return kTlsWouldBlock;
    }
    for (;;) {
        if (channel.plainLength > 0) {
            return TakePlain(channel, buffer, size);
        }
        const size_t record =
            channel.incomingLength >= kTlsRecordHeaderSize ? TlsRecordLength(channel.incoming) : 0;
        if (channel.incomingLength >= kTlsRecordHeaderSize && record == 0) {
            WholeRecords(channel); // fails the channel with its message
            return kTlsSocketError;
        }
        if (record > 0 && record <= channel.incomingLength) {
            size_t offset = 0;
            size_t length = 0;
            const TlsRecordKind kind =
                channel.engine->Decrypt(channel.incoming, record, &offset, &length);
            if (kind == TlsRecordKind::Failed || offset > record || length > record - offset ||
                length > sizeof channel.plain) {
                Fail(channel, nullptr);
                return kTlsSocketError;
            }
            if (kind == TlsRecordKind::Closed) {
                DropIncoming(channel, record);
                return 0;
            }
            std::memcpy(channel.plain, channel.incoming + offset, length);
            channel.plainOffset = 0;
            channel.plainLength = length;
            DropIncoming(channel, record);
            continue;
        }
        const int received = ReadIncoming(channel);
        if (received <= 0) {
            return received == kTlsWouldBlock || received == 0 ? received : kTlsSocketError;
        }
    }
}
