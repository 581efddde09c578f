#include "autoconfig/win/registry_reader.h"

#include "base/win/scoped_handles.h"

namespace {

// root\subkey opened with the access asked for; an empty owner when that fails.
ScopedRegistryKey OpenKey(HKEY root, const char* subkey, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, access, &key) != ERROR_SUCCESS) {
        return ScopedRegistryKey();
    }
    return ScopedRegistryKey(key);
}

std::wstring Wide(const char* text) {
    if (!text) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

bool ReadRegistryString(HKEY root, const char* subkey, const char* valueName, char* out,
                        size_t outSize) {
    if (out == nullptr || outSize == 0) {
        return false;
    }
    const ScopedRegistryKey key = OpenKey(root, subkey, KEY_QUERY_VALUE);
    if (!key) {
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    std::string text(size + 1, '\0'); // room for a terminator the data may lack
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    text.resize(strnlen(text.c_str(), text.size()));
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        std::string expanded(needed + 1, '\0');
        if (needed > 0 && ExpandEnvironmentStringsA(text.c_str(), &expanded[0], needed) > 0) {
            text.assign(expanded.c_str());
        }
    }
    lstrcpynA(out, text.c_str(), static_cast<int>(outSize < 0x7fffffff ? outSize : 0x7fffffff));
    return true;
}

bool ReadRegistryData(HKEY root, const char* subkey, const char* valueName, std::string& bytes) {
    const ScopedRegistryKey key = OpenKey(root, subkey, KEY_QUERY_VALUE);
    if (!key) {
        return false;
    }
    const std::wstring name = Wide(valueName);
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    bytes.assign(size, '\0');
    if (size > 0 && RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes.resize(size);
    return true;
}

std::vector<std::string> RegistrySubkeys(HKEY root, const char* subkey) {
    std::vector<std::string> names;
    const ScopedRegistryKey key = OpenKey(root, subkey, KEY_ENUMERATE_SUB_KEYS);
    if (!key) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256]; // the longest key name the registry allows is 255 characters
        DWORD length = sizeof name;
        const LONG result =
            RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result == ERROR_SUCCESS) {
            names.emplace_back(name, length);
        }
    }
    return names;
}
