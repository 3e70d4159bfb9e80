#include "foundation/path.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/file.h"
#include "foundation/file_lock.h"
#include "foundation/foundation_test.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/shell_path.h"

namespace {

struct PathKindRow {
    bool alternateDir;
    const char* pattern;
    const char* extension;  // null: none
    std::uint32_t fallbackKind;
};

constexpr std::uint32_t kNoFallback = 11;

constexpr PathKindRow kPathKinds[] = {
    {true, "%s", nullptr, kNoFallback},
    {true, "game%02d", ".dat", kNoFallback},
    {false, "data\\%s", nullptr, kNoFallback},
    {false, "sprite\\%s", ".kra", kNoFallback},
    {false, "bmp\\%s", ".png", kNoFallback},
    {false, "script\\%s", ".scr", kNoFallback},
    {true, "music\\bgm%02da", ".wav", kNoFallback},
    {false, "sound\\%s", ".wav", kNoFallback},
    {true, "movie\\%s", ".avi", kNoFallback},
    {true, "save\\save%02d", ".dat", kNoFallback},
    {false, "voice\\%s", ".mp3", kNoFallback},
};
constexpr std::uint32_t kPathKindCount = sizeof(kPathKinds) / sizeof(kPathKinds[0]);

constexpr int kModulePathLength = 4096;

std::string g_programDir;
bool g_programDirReady = false;
std::string g_alternateDir;

// Copies `text` into `buffer`, cut to `length` - 1 characters.
void CopyCut(char* buffer, int length, const char* text) {
    std::snprintf(buffer, static_cast<std::size_t>(length), "%s", text);
}

// What follows the program directory at the start of `path` (all of it when it does not start
// there): the part that is Shift-JIS. The directory keeps its Linux bytes.
const char* ShiftJisPart(const char* path) {
    const char* dir = GetProgramDir();
    const std::size_t length = std::strlen(dir);
    return std::strncmp(path, dir, length) == 0 ? path + length : path;
}

// The last character of a path is a backslash (a trail byte 0x5C is not one); the program
// directory itself ends in one.
bool EndsInBackslash(const char* text) {
    const char* tail = ShiftJisPart(text);
    if (tail[0] == '\0') {
        return tail != text;
    }
    const char* last = nullptr;
    for (const char* p = tail; *p != '\0'; p = CharNextA(p)) {
        last = p;
    }
    return last != nullptr && *last == '\\';
}

// Makes `name` absolute into `buffer` (an empty name is the program directory, a relative one
// goes under it) and adds the kind's extension when the name has none.
void MakeAbsolute(char* buffer, int length, const PathKindRow& row, const char* name) {
    buffer[0] = '\0';
    if (name[0] == '\0') {
        CopyCut(buffer, length, GetProgramDir());
    } else if (PathIsRelativeA(name)) {
        // The program directory keeps its Linux bytes, which the Shift-JIS rules of the path
        // helpers misread (a UTF-8 byte that reads as a lead byte swallows the backslash after
        // it), so only the name is combined, under a bare root that ".." cannot leave, and the
        // directory goes in front as it is.
        char combined[kPathLength + 2];
        combined[0] = '\0';
        std::string joined = GetProgramDir();
        if (PathCombineA(combined, "\\", name) != nullptr) {
            joined += combined[0] == '\\' ? combined + 1 : combined;
        } else {
            // Past the combining rule's MAX_PATH: join as they are; the file layer resolves
            // "." and ".." when it opens the path.
            joined += name;
        }
        CopyCut(buffer, length, joined.c_str());
    } else {
        CopyCut(buffer, length, name);
    }

    if (row.extension == nullptr || buffer[0] == '\0' || EndsInBackslash(buffer)) {
        return;
    }
    std::size_t used = std::strlen(buffer);
    if (used <= 2 && buffer[used - 1] == ':' && !PathIsUNCA(buffer) && !PathIsURLA(buffer)) {
        return;
    }
    if (*PathFindExtensionA(ShiftJisPart(buffer)) == '.') {
        return;
    }
    std::string withExtension = std::string(buffer) + row.extension;
    CopyCut(buffer, length, withExtension.c_str());
}

}  // namespace

char* BuildPath(char* buffer, int length, PathKind kind, va_list args) {
    if (length <= 0 || buffer == nullptr) {
        return nullptr;
    }
    buffer[0] = '\0';
    const auto index = static_cast<std::uint32_t>(kind);
    if (index >= kPathKindCount) {
        return buffer;
    }
    const PathKindRow& row = kPathKinds[index];

    char scratch[kPathLength];
    va_list first;
    va_copy(first, args);
    std::vsnprintf(scratch, sizeof(scratch), row.pattern, first);
    va_end(first);
    MakeAbsolute(buffer, length, row, scratch);

    if (row.alternateDir && buffer[0] != '\0' && !EndsInBackslash(buffer) &&
        GetFileAttributesA(buffer) == INVALID_FILE_ATTRIBUTES) {
        FileLock lock;
        if (!g_alternateDir.empty()) {
            char formatted[kPathLength];
            va_list again;
            va_copy(again, args);
            std::vsnprintf(formatted, sizeof(formatted), row.pattern, again);
            va_end(again);
            std::string alternate = g_alternateDir + formatted;
            CopyCut(scratch, kPathLength, alternate.c_str());
            MakeAbsolute(buffer, length, row, scratch);
        }
    }

    if (row.fallbackKind != kNoFallback) {
        FileLock lock;
        if (!FileExists(buffer)) {
            va_list fallback;
            va_copy(fallback, args);
            BuildPath(buffer, length, static_cast<PathKind>(row.fallbackKind), fallback);
            va_end(fallback);
        }
    }
    return buffer;
}

const char* GetPath(PathKind kind, ...) {
    thread_local char ring[kPathRingSize][kPathLength];
    thread_local int ringIndex = 0;
    char* buffer = ring[ringIndex];
    ringIndex = (ringIndex + 1) % kPathRingSize;
    va_list args;
    va_start(args, kind);
    BuildPath(buffer, kPathLength, kind, args);
    va_end(args);
    return buffer;
}

char* FormatPath(char* buffer, PathKind kind, ...) {
    va_list args;
    va_start(args, kind);
    char* result = BuildPath(buffer, kPathLength, kind, args);
    va_end(args);
    return result;
}

char* BuildPathFixed(char* buffer, PathKind kind, va_list args) {
    return BuildPath(buffer, kPathLength, kind, args);
}

char* BuildPathArgs(char* buffer, int length, PathKind kind, ...) {
    va_list args;
    va_start(args, kind);
    char* result = BuildPath(buffer, length, kind, args);
    va_end(args);
    return result;
}

const char* GetProgramDir() {
    FileLock lock;
    if (!g_programDirReady) {
        char module[kModulePathLength + 2];
        module[0] = '\0';
        GetModuleFileNameA(nullptr, module, kModulePathLength);
        module[kModulePathLength] = '\0';
        // The module path is Linux bytes, not Shift-JIS: cut it at its last backslash byte.
        if (char* separator = std::strrchr(module, '\\'); separator != nullptr) {
            separator[1] = '\0';
        } else {
            PathRemoveFileSpecA(module);
            PathAddBackslashA(module);
        }
        g_programDir = module;
        g_programDirReady = true;
    }
    return g_programDir.c_str();
}

void SetAlternateDir(const char* path) {
    FileLock lock;
    g_alternateDir = path != nullptr ? path : "";
}

namespace foundation_test {

void ResetPathState() {
    FileLock lock;
    g_programDir.clear();
    g_programDirReady = false;
    g_alternateDir.clear();
}

}  // namespace foundation_test

std::string FileStem(const char* path) {
    if (path == nullptr) {
        return {};
    }
    const std::string text = path;
    std::size_t start = text.size() >= 2 && text[1] == ':' ? 2 : 0;
    for (const char* p = path + start; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            start = static_cast<std::size_t>(p - path) + 1;
        }
    }
    std::size_t end = text.size();
    for (const char* p = path + start; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.') {
            end = static_cast<std::size_t>(p - path);
        }
    }
    return text.substr(start, end - start);
}
