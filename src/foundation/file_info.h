#pragma once
// The record of one located file: where it is (plain file or pack entry) and, once read, the
// buffer that holds it. The record owns its buffer (LocalAlloc memory).

#include <cstdint>
#include <string>

#include "platform/winbase/win_types.h"

class FileInfo {
public:
    static constexpr std::uint64_t kWholeFile = ~std::uint64_t{0};

    enum Kind : std::uint32_t { NotLocated = 0, Plain = 1, PackEntry = 2 };

    explicit FileInfo(const char* name = nullptr);
    virtual ~FileInfo();
    FileInfo(const FileInfo&) = delete;
    FileInfo& operator=(const FileInfo&) = delete;

    // Locate the record; both fail on a record that is already located.
    bool SetPlain(std::uint64_t size, std::uint64_t start);
    bool SetPackEntry(std::uint64_t size, std::uint64_t packOffset, std::int32_t packNumber,
                      std::uint64_t start);
    // Takes ownership of `buffer` (cleared) holding `size` bytes; requires a located record.
    bool Attach(BYTE*& buffer, std::uint64_t size);
    // Hands the buffer to the caller, who frees it with LocalFree.
    BYTE* Detach();
    void Free();
    void Reset();

    const char* GetName() const { return name_.c_str(); }
    Kind kind() const { return kind_; }
    const BYTE* data() const { return data_; }
    std::uint64_t size() const { return size_; }
    void setSize(std::uint64_t size) { size_ = size; }
    std::uint64_t loadedSize() const { return loadedSize_; }
    std::uint64_t startOffset() const { return startOffset_; }
    std::int32_t packNumber() const { return packNumber_; }
    std::uint64_t packOffset() const { return packOffset_; }

private:
    std::string name_;
    Kind kind_ = NotLocated;
    BYTE* data_ = nullptr;
    std::uint64_t size_ = kWholeFile;
    std::uint64_t loadedSize_ = 0;
    std::uint64_t startOffset_ = 0;
    std::int32_t packNumber_ = -1;
    std::uint64_t packOffset_ = 0;
};
