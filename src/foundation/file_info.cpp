#include "foundation/file_info.h"

#include "platform/winbase/file_api.h"

FileInfo::FileInfo(const char* name) : name_(name != nullptr ? name : "") {}

FileInfo::~FileInfo() {
    Free();
}

bool FileInfo::SetPlain(std::uint64_t size, std::uint64_t start) {
    if (kind_ != NotLocated) {
        return false;
    }
    kind_ = Plain;
    size_ = size;
    startOffset_ = start;
    packNumber_ = -1;
    packOffset_ = 0;
    return true;
}

bool FileInfo::SetPackEntry(std::uint64_t size, std::uint64_t packOffset, std::int32_t packNumber,
                            std::uint64_t start) {
    if (kind_ != NotLocated) {
        return false;
    }
    kind_ = PackEntry;
    size_ = size;
    packOffset_ = packOffset;
    packNumber_ = packNumber;
    startOffset_ = start;
    return true;
}

bool FileInfo::Attach(BYTE*& buffer, std::uint64_t size) {
    if (kind_ == NotLocated) {
        return false;
    }
    Free();
    data_ = buffer;
    buffer = nullptr;
    loadedSize_ = size;
    return true;
}

BYTE* FileInfo::Detach() {
    BYTE* data = data_;
    data_ = nullptr;
    loadedSize_ = 0;
    return data;
}

void FileInfo::Free() {
    if (data_ != nullptr) {
        LocalFree(data_);
        data_ = nullptr;
    }
    loadedSize_ = 0;
}

void FileInfo::Reset() {
    Free();
    kind_ = NotLocated;
    size_ = kWholeFile;
    startOffset_ = 0;
    packNumber_ = -1;
    packOffset_ = 0;
}
