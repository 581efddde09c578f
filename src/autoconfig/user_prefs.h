// A parser of Mozilla-style preference files (prefs.js): statements
// `user_pref("key", value);` whose value is a quoted string with escapes, an integer or a
// boolean. Comments (//, #, /* */) and blank space are passed over; a statement that cannot
// be read is skipped up to the next line break, so one bad line costs only itself.
#pragma once

#include <map>
#include <string>
#include <string_view>

struct PrefValue {
    enum class Kind { String, Integer, Boolean };
    Kind kind = Kind::String;
    std::string text;  // a string, in UTF-8
    long number = 0;   // an integer (32 bits)
    bool flag = false; // a boolean
};

using PrefTable = std::map<std::string, PrefValue, std::less<>>;

// Reads every statement; a key set twice keeps its last value.
PrefTable ParseUserPrefs(std::string_view text);

// The string value of key, or empty when it is missing or not a string.
std::string PrefText(const PrefTable& prefs, std::string_view key);

// The integer value of key; false when it is missing or not an integer.
bool PrefNumber(const PrefTable& prefs, std::string_view key, long& number);
