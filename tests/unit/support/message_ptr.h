// An outgoing message on the heap (it is large) that frees its blocks when it goes.
#pragma once

#include <memory>

#include "mail/outgoing_message.h"

struct MessageFree {
    void operator()(OutgoingMessage* message) const {
        ResetOutgoingMessage(*message);
        delete message;
    }
};
using MessagePtr = std::unique_ptr<OutgoingMessage, MessageFree>;

inline MessagePtr NewMessage() {
    return MessagePtr(new OutgoingMessage());
}
