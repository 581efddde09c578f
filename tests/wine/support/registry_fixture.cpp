#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include "base/win/scoped_handles.h"

namespace {

ScopedRegistryKey OpenKey(HKEY root, const std::string& key, REGSAM access) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, access, &handle) != ERROR_SUCCESS) {
        return ScopedRegistryKey();
    }
    return ScopedRegistryKey(handle);
}

} // namespace

void RegistryFixture::Save(HKEY root, const std::string& key, const char* name) {
    // The first part of the path that is missing is the key to remove afterwards.
    for (size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
        const std::string part = key.substr(0, end);
        if (!OpenKey(root, part, KEY_READ)) {
            createdKeys_.emplace_back(root, part); // the Set that follows creates it
            break;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    Saved saved = {root, key, name ? name : "", name == nullptr, false, 0, {}};
    if (const ScopedRegistryKey handle = OpenKey(root, key, KEY_READ)) {
        DWORD size = 0;
        if (RegQueryValueExA(handle.get(), name, nullptr, &saved.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            saved.bytes.resize(size);
            RegQueryValueExA(handle.get(), name, nullptr, &saved.type,
                             reinterpret_cast<BYTE*>(&saved.bytes[0]), &size);
            saved.existed = true;
        }
    }
    values_.push_back(saved);
}

void RegistryFixture::SetData(HKEY root, const std::string& key, const char* name, DWORD type,
                              const std::string& bytes) {
    Save(root, key, name);
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create " << key;
        return;
    }
    const ScopedRegistryKey handle(created);
    RegSetValueExA(handle.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
}

void RegistryFixture::SetText(HKEY root, const std::string& key, const char* name,
                              const std::string& text) {
    SetData(root, key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void RegistryFixture::SetUtf16Binary(HKEY root, const std::string& key, const char* name,
                                     const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text + L'\0') {
        bytes += static_cast<char>(c & 0xff);
        bytes += static_cast<char>((c >> 8) & 0xff);
    }
    SetData(root, key, name, REG_BINARY, bytes);
}

void RegistryFixture::Remove(HKEY root, const std::string& key, const char* name) {
    Save(root, key, name);
    if (const ScopedRegistryKey handle = OpenKey(root, key, KEY_SET_VALUE)) {
        RegDeleteValueA(handle.get(), name);
    }
}

void RegistryFixture::Restore() {
    for (auto saved = values_.rbegin(); saved != values_.rend(); ++saved) {
        const ScopedRegistryKey handle = OpenKey(saved->root, saved->key, KEY_SET_VALUE);
        if (!handle) {
            continue;
        }
        const char* name = saved->isDefault ? nullptr : saved->name.c_str();
        if (saved->existed) {
            RegSetValueExA(handle.get(), name, 0, saved->type,
                           reinterpret_cast<const BYTE*>(saved->bytes.data()),
                           static_cast<DWORD>(saved->bytes.size()));
        } else {
            RegDeleteValueA(handle.get(), name);
        }
    }
    values_.clear();
    for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key) {
        RegDeleteTreeA(key->first, key->second.c_str());
    }
    createdKeys_.clear();
}
