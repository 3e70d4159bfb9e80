#include "platform/winbase/shell_path.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/winbase/code_page.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// The root of an absolute path: "X:\", "X:", "\\server\share\", "\" or empty.
std::size_t RootLength(std::string_view path) {
    if (HasDrive(path)) {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // Network path: the root runs over the server and share names.
        std::size_t pos = 2;
        int separators = 0;
        while (pos < path.size()) {
            std::size_t length = Cp932CharLength(path, pos);
            if (length == 1 && IsSeparator(path[pos]) && ++separators == 2) {
                return pos + 1;
            }
            pos += length;
        }
        return path.size();
    }
    if (!path.empty() && IsSeparator(path[0])) {
        return 1;
    }
    return 0;
}

// Resolves "." and ".." parts after the root; ".." never climbs above the root. A path that
// ended in a separator keeps it.
std::string Canonicalize(std::string_view path) {
    std::size_t root = RootLength(path);
    std::string out(path.substr(0, root));
    std::vector<std::string> parts;
    std::string current;
    bool trailingSeparator = false;
    std::size_t pos = root;
    auto flush = [&](bool atSeparator) {
        if (current == ".") {
        } else if (current == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!current.empty() || atSeparator) {
            parts.push_back(current);
        }
        current.clear();
    };
    while (pos < path.size()) {
        std::size_t length = Cp932CharLength(path, pos);
        if (length == 1 && IsSeparator(path[pos])) {
            flush(true);
            trailingSeparator = true;
        } else {
            current.append(path.substr(pos, length));
            trailingSeparator = false;
        }
        pos += length;
    }
    bool endsWithDots = current == "." || current == "..";
    flush(false);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            out += '\\';
        }
        out += parts[i];
    }
    if (trailingSeparator && !parts.empty() && !endsWithDots) {
        out += '\\';
    }
    return out;
}

bool EndsWithSeparator(std::string_view path) {
    // The last character, stepped to multibyte-aware: a trail byte 0x5C is not a separator.
    std::size_t pos = 0;
    std::size_t lastStart = std::string_view::npos;
    while (pos < path.size()) {
        lastStart = pos;
        pos += Cp932CharLength(path, pos);
    }
    return lastStart != std::string_view::npos && pos - lastStart == 1 &&
           IsSeparator(path[lastStart]);
}

}  // namespace

LPSTR PathCombineA(LPSTR dest, LPCSTR dir, LPCSTR file) {
    if (dest == nullptr) {
        return nullptr;
    }
    if (dir == nullptr && file == nullptr) {
        dest[0] = '\0';
        return nullptr;
    }
    std::string_view dirView = dir != nullptr ? dir : "";
    std::string_view fileView = file != nullptr ? file : "";
    std::string combined;
    if (fileView.empty()) {
        combined = dirView;
    } else if (dirView.empty() || HasDrive(fileView) ||
               (fileView.size() >= 2 && IsSeparator(fileView[0]) && IsSeparator(fileView[1]))) {
        combined = fileView;
    } else if (IsSeparator(fileView[0])) {
        // Rooted without a drive: the file goes on the root of `dir`.
        std::size_t root = RootLength(dirView);
        std::string_view rootView = dirView.substr(0, root);
        while (!rootView.empty() && IsSeparator(rootView.back())) {
            rootView.remove_suffix(1);
        }
        combined = std::string(rootView) + std::string(fileView);
    } else {
        combined = dirView;
        if (!EndsWithSeparator(combined)) {
            combined += '\\';
        }
        combined += fileView;
    }
    std::string result = Canonicalize(combined);
    if (result.empty() && !combined.empty()) {
        result = "\\";
    }
    if (result.size() >= static_cast<std::size_t>(MAX_PATH)) {
        dest[0] = '\0';
        return nullptr;
    }
    std::memcpy(dest, result.c_str(), result.size() + 1);
    return dest;
}

BOOL PathIsRelativeA(LPCSTR path) {
    if (path == nullptr || *path == '\0') {
        return TRUE;
    }
    if (IsSeparator(path[0])) {
        return FALSE;
    }
    if (!IsDBCSLeadByte(static_cast<BYTE>(path[0])) && path[1] == ':') {
        return FALSE;
    }
    return TRUE;
}

BOOL PathRemoveFileSpecA(LPSTR path) {
    if (path == nullptr) {
        return FALSE;
    }
    char* cut = path;
    char* p = path;
    if (*p == '\\') {
        cut = ++p;
        if (*p == '\\') {
            cut = ++p;
        }
    }
    while (*p != '\0') {
        if (*p == '\\') {
            cut = p;
        } else if (*p == ':') {
            cut = ++p;  // the backslash after a drive's colon belongs to the root
            if (*p == '\\') {
                ++cut;
            }
        }
        p = CharNextA(p);
    }
    if (*cut == '\0') {
        return FALSE;
    }
    *cut = '\0';
    return TRUE;
}

LPSTR PathAddBackslashA(LPSTR path) {
    if (path == nullptr) {
        return nullptr;
    }
    std::size_t length = std::strlen(path);
    if (length == 0) {
        return path;
    }
    if (EndsWithSeparator(std::string_view(path, length)) && path[length - 1] == '\\') {
        return path + length;
    }
    if (length + 1 >= static_cast<std::size_t>(MAX_PATH)) {
        return nullptr;
    }
    path[length] = '\\';
    path[length + 1] = '\0';
    return path + length + 1;
}

LPSTR PathFindExtensionA(LPCSTR path) {
    if (path == nullptr) {
        return nullptr;
    }
    LPCSTR dot = nullptr;
    LPCSTR p = path;
    while (*p != '\0') {
        if (*p == '\\' || *p == '/' || *p == ' ') {
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
        p = CharNextA(p);
    }
    return const_cast<LPSTR>(dot != nullptr ? dot : p);
}

LPSTR PathFindFileNameA(LPCSTR path) {
    if (path == nullptr) {
        return nullptr;
    }
    LPCSTR name = path;
    LPCSTR p = path;
    while (*p != '\0') {
        if ((*p == '\\' || *p == '/' || *p == ':') && p[1] != '\0' && p[1] != '\\' && p[1] != '/') {
            name = p + 1;
        }
        p = CharNextA(p);
    }
    return const_cast<LPSTR>(name);
}

BOOL PathIsUNCA(LPCSTR path) {
    if (path == nullptr || path[0] != '\\' || path[1] != '\\') {
        return FALSE;
    }
    // "\\?\" prefixes a long local path, except in its "\\?\UNC\" form.
    if (path[2] == '?' && path[3] == '\\') {
        return std::strncmp(path + 4, "UNC\\", 4) == 0 ? TRUE : FALSE;
    }
    return TRUE;
}

BOOL PathIsURLA(LPCSTR path) {
    if (path == nullptr || !IsAsciiLetter(path[0])) {
        return FALSE;
    }
    std::size_t length = 1;
    while (IsAsciiLetter(path[length]) || (path[length] >= '0' && path[length] <= '9') ||
           path[length] == '+' || path[length] == '-' || path[length] == '.') {
        ++length;
    }
    // A one-letter scheme is a drive ("c:\"), not a URL.
    return (length >= 2 && path[length] == ':') ? TRUE : FALSE;
}
