#include "platform/winbase/settings_store.h"

#include "platform/winbase/code_page.h"

const SettingsValue* SettingsKey::findValue(std::string_view name) const {
    const auto found = valueIndex.find(FoldCaseCp932(name));
    return found != valueIndex.end() ? &values[found->second] : nullptr;
}

void SettingsKey::setValue(std::string_view name, DWORD type, std::string_view data) {
    const auto [slot, added] = valueIndex.try_emplace(FoldCaseCp932(name), values.size());
    if (!added) {
        SettingsValue& value = values[slot->second];
        value.type = type;
        value.data = data;
        return;
    }
    values.push_back(SettingsValue{std::string(name), type, std::string(data)});
}

SettingsKey* SettingsStore::findKey(std::string_view path) {
    const auto found = keyIndex.find(FoldCaseCp932(path));
    return found != keyIndex.end() ? &keys[found->second] : nullptr;
}

const SettingsKey* SettingsStore::findKey(std::string_view path) const {
    return const_cast<SettingsStore*>(this)->findKey(path);
}

bool SettingsStore::keyExists(std::string_view path) const {
    if (path.empty() || findKey(path) != nullptr) {
        return true;
    }
    for (const SettingsKey& key : keys) {
        std::string_view listed = key.path;
        if (listed.size() > path.size() && listed[path.size()] == '\\' &&
            EqualNoCaseCp932(listed.substr(0, path.size()), path)) {
            return true;
        }
    }
    return false;
}

SettingsKey& SettingsStore::addKey(std::string_view path) {
    const auto [slot, added] = keyIndex.try_emplace(FoldCaseCp932(path), keys.size());
    if (added) {
        keys.push_back(SettingsKey{std::string(path), {}, {}});
    }
    return keys[slot->second];
}
