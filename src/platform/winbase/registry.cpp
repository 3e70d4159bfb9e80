#include "platform/winbase/registry.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/settings_file.h"
#include "platform/winbase/test_hooks.h"

namespace {

struct OpenKey {
    std::string path;  // below HKEY_CURRENT_USER; "" is HKEY_CURRENT_USER itself
    REGSAM access = 0;
};

// The store as last read from the file; every open and every change looks at the file afresh,
// since another process may have written it, and reads it again when it changed.
struct Registry {
    std::mutex mutex;
    SettingsStore store;
    bool readFailed = false;  // the file exists but could not be read: never write over it
    // The version of the file `store` holds; empty when it must be read again.
    std::optional<SettingsFileStamp> stamp;
    std::unordered_map<HKEY, std::unique_ptr<OpenKey>> keys;
};

Registry& State() {
    static Registry* registry = new Registry;
    return *registry;
}

void Reload(Registry& registry) {
    std::optional<SettingsFileStamp> now = StatSettingsFile();
    if (now && registry.stamp && *now == *registry.stamp) {
        return;
    }
    registry.readFailed = LoadSettingsFile(&registry.store) != ERROR_SUCCESS;
    registry.stamp = registry.readFailed ? std::nullopt : now;
}

// The path of an open key (or HKEY_CURRENT_USER), or null for an unknown handle.
const OpenKey* FindKey(Registry& registry, HKEY key) {
    static const OpenKey currentUser{"", KEY_ALL_ACCESS};
    if (key == HKEY_CURRENT_USER) {
        return &currentUser;
    }
    auto it = registry.keys.find(key);
    return it == registry.keys.end() ? nullptr : it->second.get();
}

// Joins a parent path and a sub key; parts are separated by single backslashes (never a trail
// byte), empty parts dropped.
std::string JoinKeyPath(std::string_view parent, const char* subKey) {
    std::string path(parent);
    std::string_view rest = subKey != nullptr ? subKey : "";
    std::string part;
    auto flush = [&] {
        if (!part.empty()) {
            if (!path.empty()) {
                path += '\\';
            }
            path += part;
            part.clear();
        }
    };
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t length = Cp932CharLength(rest, pos);
        if (length == 1 && rest[pos] == '\\') {
            flush();
        } else {
            part.append(rest.substr(pos, length));
        }
        pos += length;
    }
    flush();
    return path;
}

HKEY AddOpenKey(Registry& registry, std::string path, REGSAM access) {
    auto key = std::make_unique<OpenKey>(OpenKey{std::move(path), access});
    HKEY handle = reinterpret_cast<HKEY>(key.get());
    registry.keys.emplace(handle, std::move(key));
    return handle;
}

// Applies `change` to a fresh copy of the file and writes it; the in-memory store follows only
// when the file was written.
template <typename Change>
LSTATUS ChangeStore(Registry& registry, Change change) {
    SettingsFileLock lock;
    Reload(registry);
    if (registry.readFailed) {
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    SettingsStore updated = registry.store;
    change(updated);
    DWORD error = SaveSettingsFile(updated);
    if (error != ERROR_SUCCESS) {
        registry.stamp.reset();
        return static_cast<LSTATUS>(error);
    }
    registry.store = std::move(updated);
    // Still under the lock: no other writer came between the save and this look.
    registry.stamp = StatSettingsFile();
    return ERROR_SUCCESS;
}

// The full path of `subKey` under the open `key`, with the store freshly read; needs the lock.
LSTATUS SubKeyPathLocked(Registry& registry, HKEY key, LPCSTR subKey, std::string* path) {
    const OpenKey* parent = FindKey(registry, key);
    if (parent == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    *path = JoinKeyPath(parent->path, subKey);
    Reload(registry);
    return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
    if (result == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    *result = nullptr;
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    std::string path;
    if (LSTATUS status = SubKeyPathLocked(registry, key, subKey, &path); status != ERROR_SUCCESS) {
        return status;
    }
    if (!registry.store.keyExists(path)) {
        return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
    }
    *result = AddOpenKey(registry, std::move(path), access);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*className*/,
                        DWORD /*options*/, REGSAM access, SECURITY_ATTRIBUTES* /*security*/,
                        HKEY* result, LPDWORD disposition) {
    if (result == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    *result = nullptr;
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    std::string path;
    if (LSTATUS status = SubKeyPathLocked(registry, key, subKey, &path); status != ERROR_SUCCESS) {
        return status;
    }
    bool existed = registry.store.keyExists(path);
    if (!existed) {
        LSTATUS status = ChangeStore(registry, [&](SettingsStore& store) { store.addKey(path); });
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    if (disposition != nullptr) {
        *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    }
    *result = AddOpenKey(registry, std::move(path), access);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    const OpenKey* open = FindKey(registry, key);
    if (open == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    if ((open->access & KEY_QUERY_VALUE) == 0) {
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    if (data != nullptr && size == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    const SettingsKey* stored = registry.store.findKey(open->path);
    const SettingsValue* value =
        stored != nullptr ? stored->findValue(name != nullptr ? name : "") : nullptr;
    if (value == nullptr) {
        return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
    }
    if (type != nullptr) {
        *type = value->type;
    }
    auto storedSize = static_cast<DWORD>(value->data.size());
    if (data != nullptr) {
        if (*size < storedSize) {
            *size = storedSize;
            return static_cast<LSTATUS>(ERROR_MORE_DATA);  // the buffer stays untouched
        }
        std::memcpy(data, value->data.data(), storedSize);
    }
    if (size != nullptr) {
        *size = storedSize;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD /*reserved*/, DWORD type, const BYTE* data,
                       DWORD size) {
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    const OpenKey* open = FindKey(registry, key);
    if (open == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    if ((open->access & KEY_SET_VALUE) == 0) {
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    if (data == nullptr && size != 0) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    std::string bytes(reinterpret_cast<const char*>(data), data != nullptr ? size : 0);
    std::string valueName = name != nullptr ? name : "";
    std::string path = open->path;
    return ChangeStore(registry, [&](SettingsStore& store) {
        store.addKey(path).setValue(valueName, type, bytes);
    });
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return ERROR_SUCCESS;
    }
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    if (registry.keys.erase(key) == 0) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    return ERROR_SUCCESS;
}

namespace win32_test {

void ForgetSettingsStore() {
    Registry& registry = State();
    std::lock_guard lock(registry.mutex);
    registry.store = SettingsStore();
    registry.readFailed = false;
    registry.stamp.reset();
}

}  // namespace win32_test
