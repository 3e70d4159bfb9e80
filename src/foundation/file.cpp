#include "foundation/file.h"

#include <cstring>
#include <exception>
#include <string>

#include "foundation/file_error.h"
#include "foundation/file_handle.h"
#include "foundation/file_info.h"
#include "foundation/file_lock.h"
#include "foundation/log.h"
#include "foundation/pack_set.h"
#include "foundation/text.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr int kPackTries = 4;

// The name relative to the pack base directory, or null when it lies outside it. Requires the
// manager's base directory to be set.
const char* RelativeToBase(const char* name) {
    const std::string& base = GetPackManager().baseDir();
    if (base.empty() || CompareNoCasePrefix(name, base.c_str(), base.size()) != 0 ||
        std::strlen(name) < base.size()) {
        return nullptr;
    }
    return name + base.size();
}

// Makes sure the manager knows its base directory (acquiring the set once when it does not).
void EnsurePackBase() {
    if (GetPackManager().baseDir().empty()) {
        PackSetHolder ignored = GetPackManager().Acquire();
    }
}

bool LoadFromPacks(FileInfo& record, DWORD limit, DWORD* code) {
    FileLock lock;
    EnsurePackBase();
    const char* relative = RelativeToBase(record.GetName());
    if (relative == nullptr) {
        *code = 3;
        return false;
    }
    for (int attempt = 1; attempt <= kPackTries; ++attempt) {
        {
            PackSetHolder holder = GetPackManager().Acquire();
            if (holder.Get() == nullptr) {
                if (attempt == 1) {
                    *code = 3;
                    return false;
                }
            } else {
                try {
                    if (holder.Get()->ReadEntry(record, relative, limit, code)) {
                        return true;
                    }
                } catch (const std::exception&) {
                    *code = FileError::PackReadException;
                }
            }
            // A failed try: a later one looks the name up afresh.
            record.Reset();
        }
        if (attempt == 2 || attempt == 4) {
            GetPackManager().Release();
        }
    }
    return false;
}

// The load core: a plain file when one of that name exists, else the archives.
bool LoadCore(FileInfo& record, DWORD limit, DWORD* code) {
    *code = 3;
    if (GetFileAttributesA(record.GetName()) != INVALID_FILE_ATTRIBUTES) {
        try {
            return ReadFileWithRetries(record.GetName(), record, limit, code);
        } catch (const std::exception&) {
            *code = FileError::PlainReadException;
            return false;
        }
    }
    return LoadFromPacks(record, limit, code);
}

bool IsPlainFile(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Finds `name` in the archives, opening them when needed.
bool FindInPacks(FileInfo& record) {
    FileLock lock;
    EnsurePackBase();
    const char* relative = RelativeToBase(record.GetName());
    if (relative == nullptr) {
        return false;
    }
    PackSetHolder holder = GetPackManager().Acquire();
    return holder.Get() != nullptr && holder.Get()->Find(record, relative);
}

void LogSaveError(DWORD code, const char* name) {
    LogPrintf("save error. code:%08x(%d) %s", code, static_cast<int>(code), name);
}

// Writes `data` to a new file `path`; the system's code on failure (112 for a short write).
bool WriteNewFile(const char* path, const void* data, DWORD size, DWORD* code) {
    *code = FileError::SaveFailed;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    *code = GetLastError();
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        if (*code == 0) {
            *code = FileError::SaveFailed;
        }
        return false;
    }
    DWORD written = 0;
    SetLastError(0);
    bool ok = WriteFile(file, data, size, &written, nullptr) != 0;
    *code = GetLastError();
    if (ok && written != size) {
        ok = false;
        *code = ERROR_DISK_FULL;
    }
    if (ok && !FlushFileBuffers(file)) {
        ok = false;
        *code = GetLastError();
    }
    if (!CloseHandle(file) && ok) {
        ok = false;
        *code = GetLastError();
    }
    if (!ok && *code == 0) {
        *code = FileError::SaveFailed;
    }
    return ok;
}

}  // namespace

BYTE* LoadFile(const char* name, DWORD* outSize, DWORD limit) {
    DWORD code = FileError::LoadFailed;
    if (name == nullptr || name[0] == '\0') {
        code = ERROR_BAD_PATHNAME;
        if (outSize != nullptr) {
            *outSize = 0;
        }
        LogPrintf("load error. code:%08x(%d) %s", code, static_cast<int>(code),
                  "(with out filename)");
        return nullptr;
    }
    FileInfo record(name);
    bool ok = LoadCore(record, limit, &code);
    if (ok && record.kind() == FileInfo::NotLocated) {
        code = FileError::NoData;
        ok = false;
    }
    if (!ok) {
        if (outSize != nullptr) {
            *outSize = 0;
        }
        LogPrintf("load error. code:%08x(%d) %s", code, static_cast<int>(code), name);
        return nullptr;
    }
    if (outSize != nullptr) {
        *outSize = static_cast<DWORD>(record.loadedSize());
    }
    return record.Detach();
}

int FileExists(const char* name) {
    if (name == nullptr || name[0] == '\0') {
        return 0;
    }
    if (IsPlainFile(name)) {
        return 1;
    }
    FileInfo record(name);
    return FindInPacks(record) ? 1 : 0;
}

void GetFileInfo(const char* name, DWORD out[3]) {
    out[0] = out[1] = out[2] = 0;
    if (name == nullptr || name[0] == '\0') {
        return;
    }
    if (IsPlainFile(name)) {
        FileHandle file;
        std::int64_t size = 0;
        if (file.OpenRead(name, false) && file.Size(&size)) {
            out[0] = 1;
            out[2] = static_cast<DWORD>(size);
        }
        return;
    }
    FileInfo record(name);
    if (FindInPacks(record)) {
        out[0] = 1;
        out[1] = record.packNumber() >= 0 ? 1 : 0;
        out[2] = static_cast<DWORD>(record.size());
    }
}

std::string SaveFileTemporary(const char* name) {
    return std::string(name) + ".tmp";
}

int SaveFile(const char* name, const void* data, DWORD size) {
    if (name == nullptr || name[0] == '\0') {
        LogSaveError(ERROR_BAD_PATHNAME, "(no filename)");
        return 0;
    }
    DWORD code = FileError::SaveFileFailed;
    const std::string temporary = SaveFileTemporary(name);
    bool ok = WriteNewFile(temporary.c_str(), data, size, &code);
    if (ok &&
        !MoveFileExA(temporary.c_str(), name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temporary.c_str());
        LogSaveError(code, name);
        return 0;
    }
    return 1;
}
