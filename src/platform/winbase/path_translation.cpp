#include "platform/winbase/path_translation.h"

#include <sys/stat.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "platform/winbase/code_page.h"
#include "platform/winbase/debug_output.h"
#include "platform/winbase/errno_mapping.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/folder_listing.h"
#include "platform/winbase/program_directory.h"

namespace {

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) {
        return name;
    }
    if (dir.back() == '/') {
        return dir + name;
    }
    return dir + "/" + name;
}

// The entry of `dir` that `name` (UTF-8) names, or nothing.
std::optional<std::string> MatchEntry(const std::string& dir, const std::string& name) {
    struct stat info;
    if (lstat(Join(dir, name).c_str(), &info) == 0) {
        return name;
    }
    return FindEntryIgnoringCase(dir, name);
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Splits at "\" and "/", never at a trail byte; empty parts are dropped.
std::vector<std::string> SplitParts(std::string_view rest) {
    std::vector<std::string> parts;
    std::string current;
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t length = Cp932CharLength(rest, pos);
        if (length == 1 && (rest[pos] == '\\' || rest[pos] == '/')) {
            if (!current.empty()) {
                parts.push_back(std::move(current));
                current.clear();
            }
        } else {
            current.append(rest.substr(pos, length));
        }
        pos += length;
    }
    if (!current.empty()) {
        parts.push_back(std::move(current));
    }
    return parts;
}

std::string Escaped(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", byte);
            out += hex;
        }
    }
    return out;
}

void LogUnconvertibleOnce(std::string_view windowsPath) {
    static std::mutex mutex;
    static std::set<std::string, std::less<>>* logged = new std::set<std::string, std::less<>>;
    {
        std::lock_guard lock(mutex);
        if (!logged->emplace(windowsPath).second) {
            return;
        }
    }
    std::string line =
        "file not found: a name in \"" + Escaped(windowsPath) + "\" is not Shift-JIS text\n";
    OutputDebugStringA(line.c_str());
}

bool HasDrivePrefix(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

LinuxPath TranslatePath(const char* windowsPath) {
    LinuxPath result;
    if (windowsPath == nullptr || *windowsPath == '\0') {
        result.error = ERROR_PATH_NOT_FOUND;
        return result;
    }
    std::string_view path(windowsPath);
    std::string programWindows = ProgramDirectoryWindows();
    std::string base;
    std::string_view rest;
    std::string_view programNoSlash(programWindows.data(), programWindows.size() - 1);
    if (path.substr(0, programWindows.size()) == programWindows) {
        base = ProgramDirectoryLinux();
        rest = path.substr(programWindows.size());
    } else if (path == programNoSlash && !programNoSlash.empty()) {
        base = ProgramDirectoryLinux();
    } else if (HasDrivePrefix(path) || (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
                                        (path[1] == '\\' || path[1] == '/'))) {
        result.error = ERROR_PATH_NOT_FOUND;  // drives and network shares do not exist here
        return result;
    } else if (path[0] == '\\' || path[0] == '/') {
        base = "/";
        rest = path.substr(1);
    } else {
        rest = path;  // relative to the working directory
    }

    std::vector<std::string> parts = SplitParts(rest);
    std::vector<std::string> resolved;
    bool foldersFound = true;
    bool lastMatched = false;  // the last part names an existing entry
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        bool last = i + 1 == parts.size();
        if (part == ".") {
            continue;
        }
        if (part == ".." && !resolved.empty() && resolved.back() != "..") {
            resolved.pop_back();
            continue;
        }
        std::optional<std::string> utf8 = Cp932ToUtf8(part);
        if (!utf8) {
            LogUnconvertibleOnce(path);
            result.error = last ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
            return result;
        }
        std::string dir = base;
        for (const std::string& r : resolved) {
            dir = Join(dir, r);
        }
        lastMatched = false;
        if (foldersFound) {
            if (std::optional<std::string> match = MatchEntry(dir, *utf8)) {
                resolved.push_back(*match);
                lastMatched = true;
                continue;
            }
            if (!last) {
                foldersFound = false;
            }
        }
        resolved.push_back(*utf8);
    }

    std::string linuxPath = base;
    for (std::size_t i = 0; i < resolved.size(); ++i) {
        linuxPath = Join(linuxPath, resolved[i]);
    }
    if (linuxPath.empty()) {
        linuxPath = ".";
    }
    if (foldersFound && !lastMatched) {
        std::size_t slash = linuxPath.rfind('/');
        std::string parent = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : linuxPath.substr(0, slash);
        foldersFound = IsDirectory(parent);
    }
    result.path = std::move(linuxPath);
    result.parentExists = foldersFound;
    return result;
}

DWORD Win32ErrorForPath(int error, const LinuxPath& path) {
    return Win32ErrorFromErrno(error, path.parentExists);
}
