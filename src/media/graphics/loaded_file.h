#pragma once
// A whole file read through the file and pack layer, freed when the object goes.

#include "foundation/file.h"
#include "platform/winbase/file_api.h"

class LoadedFile {
public:
    // Reads `name` whole; ok() is false when it is missing (LoadFile has logged why).
    explicit LoadedFile(const char* name) {
        if (name != nullptr) {
            bytes_ = LoadFile(name, &size_, 0);
        }
    }
    ~LoadedFile() {
        if (bytes_ != nullptr) {
            LocalFree(bytes_);
        }
    }
    LoadedFile(const LoadedFile&) = delete;
    LoadedFile& operator=(const LoadedFile&) = delete;

    bool ok() const { return bytes_ != nullptr; }
    const BYTE* data() const { return bytes_; }
    DWORD size() const { return size_; }

private:
    BYTE* bytes_ = nullptr;
    DWORD size_ = 0;
};
