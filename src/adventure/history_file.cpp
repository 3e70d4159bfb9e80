#include "adventure/history_file.h"

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/winbase/file_api.h"

HistoryLoad LoadHistoryFile(const char* path, const char* function, HistoryParser parse) {
    if (!FileExists(path)) {
        parse({});
        return HistoryLoad::kMissing;
    }
    DWORD size = 0;
    BYTE* data = LoadFile(path, &size, 0);
    if (data == nullptr) {
        parse({});
        return HistoryLoad::kUnreadable;
    }
    const bool parsed = parse(std::span<const std::uint8_t>(data, size));
    LocalFree(data);
    if (parsed) {
        return HistoryLoad::kLoaded;
    }
    parse({});
    const std::string aside = std::string(path) + kDamagedSuffix;
    if (!MoveFileExA(path, aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        LogPrintf("history:%s: error. damaged file %s, not kept aside (%u)", function, path,
                  static_cast<unsigned>(GetLastError()));
    } else {
        LogPrintf("history:%s: error. damaged file %s, kept as %s", function, path, aside.c_str());
    }
    return HistoryLoad::kDamaged;
}

bool EnsureHistoryLoaded(std::uint8_t* loaded, HistoryLoad (*load)(const char* path), int slot) {
    if (*loaded != 0) {
        return true;
    }
    if (load(GetPath(PathKind::Save, slot)) == HistoryLoad::kUnreadable) {
        return false;
    }
    *loaded = 1;
    return true;
}
