#pragma once
// The settings store in memory: keys by their path below HKEY_CURRENT_USER (as
// "Software\Velkaro\qvn\main"), each holding named values of a registry type. Paths and value
// names compare without regard to ASCII case (Shift-JIS characters as they are) and keep the
// first spelling seen. Both are found through an index of their case-folded form, so reading a
// store of tens of thousands of values, and every lookup in it, costs time in proportion to its
// size, not to the square of it. Change keys and values only through addKey and setValue, which
// keep the index.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/winbase/win_types.h"

struct SettingsValue {
    std::string name;
    DWORD type = 0;
    std::string data;
};

struct SettingsKey {
    std::string path;
    std::vector<SettingsValue> values;  // in the order they were first set
    // Folded name -> index in `values`.
    std::unordered_map<std::string, std::size_t> valueIndex;

    const SettingsValue* findValue(std::string_view name) const;
    // Sets the value; an existing value of any case keeps its spelling.
    void setValue(std::string_view name, DWORD type, std::string_view data);
};

struct SettingsStore {
    std::vector<SettingsKey> keys;  // in the order they were first added
    // Folded path -> index in `keys`.
    std::unordered_map<std::string, std::size_t> keyIndex;

    SettingsKey* findKey(std::string_view path);
    const SettingsKey* findKey(std::string_view path) const;
    // A key exists when it is listed or when a listed key lies below it; the root ("") always
    // exists.
    bool keyExists(std::string_view path) const;
    // The listed key of that path, added when missing.
    SettingsKey& addKey(std::string_view path);
};
