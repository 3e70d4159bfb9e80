#include "adventure/save_folder.h"

#include <string>
#include <vector>

#include "foundation/file.h"
#include "foundation/path.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/shell_path.h"

bool WriteSaveFolderFile(const char* path, std::span<const std::uint8_t> bytes) {
    if (path != nullptr) {
        std::vector<char> folder(path, path + std::char_traits<char>::length(path) + 1);
        if (PathRemoveFileSpecA(folder.data()) && folder[0] != '\0' &&
            GetFileAttributesA(folder.data()) == INVALID_FILE_ATTRIBUTES) {
            CreateDirectoryA(folder.data(), nullptr);
        }
    }
    return SaveFile(path, bytes.data(), static_cast<DWORD>(bytes.size())) != 0;
}

void RemoveStaleSaveFolderFiles() {
    constexpr int kSaveNames = 100;  // "save%02d"
    for (int slot = 0; slot < kSaveNames; ++slot) {
        DeleteFileA(SaveFileTemporary(GetPath(PathKind::Save, slot)).c_str());
    }
}
