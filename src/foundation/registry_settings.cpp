#include "foundation/registry_settings.h"

#include <cstdio>
#include <cstring>

#include "foundation/log.h"
#include "platform/winbase/registry.h"

namespace {

constexpr int kKeyPathLength = 520;

void BuildKeyPath(char* path, const char* section) {
    if (section != nullptr && section[0] != '\0') {
        std::snprintf(path, kKeyPathLength, "Software\\%s\\%s\\%s", kMakerName, kProgramShortName,
                      section);
    } else {
        std::snprintf(path, kKeyPathLength, "Software\\%s\\%s", kMakerName, kProgramShortName);
    }
}

// Opened key, closed on scope exit.
class RegistryKey {
public:
    RegistryKey(const char* section, bool create) {
        char path[kKeyPathLength];
        BuildKeyPath(path, section);
        LSTATUS status;
        if (create) {
            DWORD disposition = 0;
            status = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key_, &disposition);
        } else {
            status = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key_);
        }
        if (status != 0) {
            key_ = nullptr;
        }
    }
    ~RegistryKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Offset of the first two consecutive NUL bytes, plus 2.
DWORD MultiStringSize(const char* data) {
    if (data[0] == '\0') {
        return 2;
    }
    DWORD i = 0;
    while (!(data[i] == '\0' && data[i + 1] == '\0')) {
        ++i;
    }
    return i + 2;
}

}  // namespace

int ReadRegistryValue(const char* section, const char* name, void* buffer, DWORD maximumSize,
                      DWORD* outSize) {
    if (outSize != nullptr) {
        *outSize = 0;
    }
    RegistryKey key(section, false);
    if (key.get() == nullptr) {
        return 0;
    }
    DWORD type = 0;
    DWORD stored = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &stored) != 0) {
        return 0;
    }
    DWORD asked = (maximumSize != 0 && stored >= maximumSize) ? maximumSize : stored;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, static_cast<BYTE*>(buffer), &asked) !=
        0) {
        return 0;
    }
    if (outSize != nullptr) {
        *outSize = asked;
    }
    return 1;
}

DWORD ReadRegistryDword(const char* section, const char* name) {
    DWORD value = 0;
    if (!ReadRegistryValue(section, name, &value, sizeof(value), nullptr)) {
        return 0;
    }
    return value;
}

int WriteRegistryValue(const char* section, const char* name, DWORD type, const void* data,
                       DWORD size) {
    RegistryKey key(section, true);
    if (key.get() == nullptr) {
        return 0;
    }
    if (size == 0 && data != nullptr) {
        if (type == REG_SZ) {
            size = static_cast<DWORD>(std::strlen(static_cast<const char*>(data)) + 1);
        } else if (type == REG_DWORD) {
            size = 4;
        } else if (type == REG_MULTI_SZ) {
            size = MultiStringSize(static_cast<const char*>(data));
        }
    }
    return RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) == 0 ? 1
                                                                                               : 0;
}

int WriteRegistryDword(const char* section, const char* name, DWORD value) {
    return WriteRegistryValue(section, name, REG_DWORD, &value, 0);
}

void QueryRegistryType(const char* section, const char* name, DWORD* outType) {
    *outType = 0;
    RegistryKey key(section, false);
    if (key.get() == nullptr) {
        return;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) == 0) {
        *outType = type;
    }
}
