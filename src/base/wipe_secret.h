// Overwrites a password, or a text built from one, once it is no longer needed. The writes go
// through a volatile pointer, so that the compiler cannot drop them as dead stores.
#pragma once

#include <cstddef>

inline void WipeSecret(void* secret, size_t size) {
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(secret);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
}
