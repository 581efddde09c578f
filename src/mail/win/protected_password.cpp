#include "mail/win/protected_password.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstring>

#include "base/hex_text.h"
#include "base/program_settings.h"
#include "base/win/scoped_handles.h"
#include "base/wipe_secret.h"

namespace {

// Tells this program's protected bytes from those of another.
const wchar_t kDescription[] = L"Kestro SMTP password";

} // namespace

bool ProtectPassword(const char* password, char* hex, size_t hexSize) {
    if (hexSize == 0) {
        return false;
    }
    hex[0] = '\0';
    const size_t length = std::strlen(password);
    if (length == 0) {
        return true;
    }
    DATA_BLOB clear = {static_cast<DWORD>(length),
                       reinterpret_cast<BYTE*>(const_cast<char*>(password))};
    DATA_BLOB sealed = {};
    if (!CryptProtectData(&clear, kDescription, nullptr, nullptr, nullptr,
                          CRYPTPROTECT_UI_FORBIDDEN, &sealed)) {
        return false;
    }
    const ScopedLocalMemory owner(sealed.pbData);
    return EncodeHexText(sealed.pbData, sealed.cbData, hex, hexSize);
}

bool UnprotectPassword(const char* hex, char* password, size_t size) {
    if (size == 0) {
        return false;
    }
    password[0] = '\0';
    if (hex[0] == '\0') {
        return true;
    }
    unsigned char bytes[kProtectedPasswordLength / 2];
    size_t length = 0;
    if (!DecodeHexText(hex, bytes, sizeof bytes, &length) || length == 0) {
        return false;
    }
    DATA_BLOB sealed = {static_cast<DWORD>(length), bytes};
    DATA_BLOB clear = {};
    if (!CryptUnprotectData(&sealed, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &clear)) {
        return false;
    }
    const ScopedLocalMemory owner(clear.pbData);
    const bool fits = clear.cbData < size;
    if (fits) {
        std::memcpy(password, clear.pbData, clear.cbData);
        password[clear.cbData] = '\0';
    }
    WipeSecret(clear.pbData, clear.cbData);
    return fits;
}
