// Registry values a test sets (or removes) in the test prefix, put back as they were when the
// fixture goes: other tests share the prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RegistryFixture {
  public:
    RegistryFixture() = default;
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;
    ~RegistryFixture() { Restore(); }

    // name nullptr is the key's default value.
    void SetText(HKEY root, const std::string& key, const char* name, const std::string& text);
    void SetData(HKEY root, const std::string& key, const char* name, DWORD type,
                 const std::string& bytes);
    // Text as Outlook keeps it: UTF-16 with its terminating zero, as binary data.
    void SetUtf16Binary(HKEY root, const std::string& key, const char* name,
                        const std::wstring& text);
    void Remove(HKEY root, const std::string& key, const char* name);

    // Puts back every value and removes every key the fixture made, newest first.
    void Restore();

  private:
    struct Saved {
        HKEY root;
        std::string key;
        std::string name;
        bool isDefault;
        bool existed;
        DWORD type;
        std::string bytes;
    };
    void Save(HKEY root, const std::string& key, const char* name);

    std::vector<Saved> values_;
    std::vector<std::pair<HKEY, std::string>> createdKeys_; // the topmost new key of each path
};
