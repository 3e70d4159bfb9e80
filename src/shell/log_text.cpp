#include "shell/log_text.h"

#include <cstdio>
#include <cstring>

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/win32/shell_api.h"
#include "platform/winbase/file_api.h"

std::string LogFilePath() {
    char name[64];
    std::snprintf(name, sizeof name, "%s.log", kProgramShortName);
    return GetPath(PathKind::Any, name);
}

bool LoadTextFile(const std::string& path, std::string* text) {
    DWORD size = 0;
    BYTE* bytes = LoadFile(path.c_str(), &size, 0);
    if (bytes == nullptr) {
        return false;
    }
    text->assign(reinterpret_cast<const char*>(bytes),
                 strnlen(reinterpret_cast<char*>(bytes), size));
    LocalFree(bytes);
    return true;
}

void PutClipboardText(const std::string& text) {
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    }
}
