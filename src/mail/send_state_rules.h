// What the SMTP client's state word allows the rest of the program to do.
#pragma once

// Bits 0x4 and 0x8: the connection is being made or is open. Recording must wait.
constexpr unsigned kSendStateConnectionBits = 0x0C;

inline bool SendBlocksRecording(unsigned sendState) {
    return (sendState & kSendStateConnectionBits) != 0;
}

// Cancel acts only on a send that has started and not yet reached its last stages.
inline bool SendCanBeCancelled(unsigned sendState) {
    return sendState > 0 && sendState < 0x40408;
}
