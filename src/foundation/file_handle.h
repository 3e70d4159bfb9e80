#pragma once
// Reading files: an owned file handle, the 64-bit size and seek provider, and the reader that
// fills a FileInfo record with the open-and-read loop.

#include <cstdint>

#include "foundation/file_info.h"
#include "platform/winbase/win_types.h"

// Process-wide provider of 64-bit size and seek. With the extended calls it uses the 64-bit
// size and seek of the system; without them it builds both from the 32-bit calls.
class FileApiEx {
public:
    explicit FileApiEx(bool extendedCalls) : extended_(extendedCalls) {}

    // Both return false with *error set to the system's code on failure.
    bool GetSize(HANDLE file, std::int64_t* size, DWORD* error) const;
    // Moves by `distance` from `method` (FILE_BEGIN, FILE_CURRENT, FILE_END).
    bool Seek(HANDLE file, std::int64_t distance, DWORD method, std::int64_t* newPosition,
              DWORD* error) const;

    static const FileApiEx& Instance();

private:
    bool extended_;
};

class FileHandle {
public:
    FileHandle() = default;
    virtual ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing file for reading with read sharing; the sequential-scan hint, or the
    // random-access hint when `sequential` is false.
    bool OpenRead(const char* name, bool sequential);
    // Reads up to `count` bytes in one call; the byte count, or -1 when the call failed.
    // lastError() is the system's code, or FileError::ShortRead for a short read without one.
    std::int64_t Read(void* buffer, DWORD count);
    bool Size(std::int64_t* size);
    bool Seek(std::int64_t position);
    bool Tell(std::int64_t* position);
    void Close();

    bool IsOpen() const { return handle_ != nullptr; }
    DWORD lastError() const { return lastError_; }

private:
    HANDLE handle_ = nullptr;
    DWORD lastError_ = 0;
};

class FileReader {
public:
    FileReader() = default;
    virtual ~FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool Open(const char* name, bool sequential);
    // Reads the record's bytes (at most `limit` when not 0) and attaches them, NUL-terminated.
    bool ReadInto(FileInfo& record, DWORD limit);
    void Close() { handle_.Close(); }

    DWORD code() const { return code_; }

private:
    FileHandle handle_;
    DWORD code_ = 0;
};

// The open-and-read loop: up to 4 tries of open, locate as a plain file when not located yet,
// and ReadInto. `path` is the file actually read (the archive for a pack entry). On failure
// *code holds the last try's code.
bool ReadFileWithRetries(const char* path, FileInfo& record, DWORD limit, DWORD* code);

// The largest byte count one load may hold: its allocation adds 4 bytes and must stay within
// 32 bits.
constexpr std::uint64_t kMaxLoadBytes = 0xFFFFFFFFu - 4u;
