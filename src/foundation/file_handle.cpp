#include "foundation/file_handle.h"

#include <new>

#include "foundation/file_error.h"
#include "foundation/file_lock.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr std::int64_t kStepForward = 0x7FFFFFFF;
constexpr std::int64_t kStepBackward = -0x80000000LL;
constexpr int kReadTries = 4;

}  // namespace

bool FileApiEx::GetSize(HANDLE file, std::int64_t* size, DWORD* error) const {
    if (extended_) {
        LARGE_INTEGER value{};
        if (!GetFileSizeEx(file, &value)) {
            *error = GetLastError();
            return false;
        }
        *size = value.QuadPart;
        return true;
    }
    DWORD high = 0;
    SetLastError(0);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE) {
        const DWORD code = GetLastError();
        if (code != 0) {
            *error = code;
            return false;
        }
    }
    *size = static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
    return true;
}

bool FileApiEx::Seek(HANDLE file, std::int64_t distance, DWORD method, std::int64_t* newPosition,
                     DWORD* error) const {
    if (extended_) {
        FileLock lock;
        LARGE_INTEGER move{};
        move.QuadPart = distance;
        LARGE_INTEGER result{};
        if (!SetFilePointerEx(file, move, &result, method)) {
            *error = GetLastError();
            return false;
        }
        *newPosition = result.QuadPart;
        return true;
    }
    // 32-bit steps: the first from the requested origin, the rest from the current position.
    auto step = [&](LONG amount, DWORD from) {
        // The high word carries the sign, so that positions past 4 GiB are allowed.
        LONG high = amount < 0 ? -1 : 0;
        SetLastError(0);
        const DWORD result = SetFilePointer(file, amount, &high, from);
        if (result == INVALID_SET_FILE_POINTER && GetLastError() != 0) {
            *error = GetLastError();
            return false;
        }
        return true;
    };
    DWORD from = method;
    while (distance >= (std::int64_t{1} << 31) || distance < kStepBackward) {
        const std::int64_t amount = distance > 0 ? kStepForward : kStepBackward;
        if (!step(static_cast<LONG>(amount), from)) {
            return false;
        }
        distance -= amount;
        from = FILE_CURRENT;
    }
    if (!step(static_cast<LONG>(distance), from)) {
        return false;
    }
    LONG high = 0;
    SetLastError(0);
    const DWORD low = SetFilePointer(file, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != 0) {
        *error = GetLastError();
        return false;
    }
    *newPosition = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32) | low);
    return true;
}

const FileApiEx& FileApiEx::Instance() {
    // Our system layer always offers the 64-bit calls.
    static const FileApiEx instance(true);
    return instance;
}

FileHandle::~FileHandle() {
    Close();
}

bool FileHandle::OpenRead(const char* name, bool sequential) {
    Close();
    HANDLE file = CreateFileA(
        name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | (sequential ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_RANDOM_ACCESS),
        nullptr);
    lastError_ = GetLastError();
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        return false;
    }
    handle_ = file;
    return true;
}

std::int64_t FileHandle::Read(void* buffer, DWORD count) {
    if (buffer == nullptr) {
        lastError_ = 87;
        return -1;
    }
    if (handle_ == nullptr) {
        lastError_ = 6;
        return -1;
    }
    DWORD read = 0;
    SetLastError(0);
    if (!ReadFile(handle_, buffer, count, &read, nullptr)) {
        lastError_ = GetLastError();
        return -1;
    }
    lastError_ = GetLastError();
    if (lastError_ == 0 && read < count) {
        lastError_ = FileError::ShortRead;
    }
    return read;
}

bool FileHandle::Size(std::int64_t* size) {
    if (handle_ == nullptr) {
        lastError_ = 6;
        return false;
    }
    return FileApiEx::Instance().GetSize(handle_, size, &lastError_);
}

bool FileHandle::Seek(std::int64_t position) {
    if (handle_ == nullptr) {
        lastError_ = 6;
        return false;
    }
    std::int64_t ignored = 0;
    return FileApiEx::Instance().Seek(handle_, position, FILE_BEGIN, &ignored, &lastError_);
}

bool FileHandle::Tell(std::int64_t* position) {
    if (handle_ == nullptr) {
        lastError_ = 6;
        return false;
    }
    return FileApiEx::Instance().Seek(handle_, 0, FILE_CURRENT, position, &lastError_);
}

void FileHandle::Close() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

bool FileReader::Open(const char* name, bool sequential) {
    const bool opened = handle_.OpenRead(name, sequential);
    code_ = handle_.lastError();
    return opened;
}

bool FileReader::ReadInto(FileInfo& record, DWORD limit) {
    if (record.kind() == FileInfo::NotLocated) {
        code_ = 2;
        return false;
    }
    if (!handle_.IsOpen()) {
        code_ = 6;
        return false;
    }
    std::int64_t fileSize = 0;
    if (!handle_.Size(&fileSize) || fileSize < 0) {
        code_ = handle_.lastError();
        return false;
    }
    auto count = static_cast<std::uint64_t>(fileSize);
    if (record.size() == FileInfo::kWholeFile) {
        record.setSize(count);
    } else if (record.size() < count) {
        count = record.size();
    }
    if (limit != 0 && limit < count) {
        count = limit;
    }
    if (count > kMaxLoadBytes) {
        // The allocation of count + 4 bytes would not fit in 32 bits.
        code_ = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    if (!handle_.Seek(static_cast<std::int64_t>(record.startOffset() + record.packOffset()))) {
        code_ = handle_.lastError();
        return false;
    }
    SetLastError(0);
    auto* buffer = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, static_cast<SIZE_T>(count + 4)));
    if (buffer == nullptr) {
        code_ = GetLastError() != 0 ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    const std::int64_t read = handle_.Read(buffer, static_cast<DWORD>(count));
    code_ = handle_.lastError();
    if (read < 0 || static_cast<std::uint64_t>(read) != count) {
        if (read >= 0 && code_ == 0) {
            code_ = FileError::ShortRead;
        }
        LocalFree(buffer);
        return false;
    }
    buffer[count] = 0;
    if (!record.Attach(buffer, count)) {
        LocalFree(buffer);
        code_ = FileError::AttachFailed;
        return false;
    }
    code_ = 0;
    return true;
}

bool ReadFileWithRetries(const char* path, FileInfo& record, DWORD limit, DWORD* code) {
    *code = FileError::RetriesExhausted;
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        try {
            FileReader reader;
            if (!reader.Open(path, true)) {
                *code = reader.code();
                continue;
            }
            if (record.kind() == FileInfo::NotLocated) {
                record.SetPlain(FileInfo::kWholeFile, 0);
            }
            if (reader.ReadInto(record, limit)) {
                *code = 0;
                return true;
            }
            *code = reader.code();
        } catch (const std::exception&) {
            *code = FileError::ReadException;
        }
    }
    return false;
}
