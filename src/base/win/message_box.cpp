#include "base/win/message_box.h"

namespace {
MessageBoxResponder responder = nullptr;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (responder) {
        return responder(owner, text, caption, type);
    }
    return MessageBoxA(owner, text, caption, type);
}

MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder next) {
    MessageBoxResponder previous = responder;
    responder = next;
    return previous;
}
