#include "platform/win32/single_instance.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/debug_output.h"
#include "platform/winbase/posix_io.h"
#include "platform/winbase/settings_file.h"

namespace win32_internal {
namespace {

constexpr const char* kLockPrefix = "window-";
constexpr const char* kLockSuffix = ".lock";
constexpr const char* kTemporarySuffix = ".tmp";
// A lock file holds two short lines; anything longer is not ours.
constexpr std::size_t kMaxLockFileBytes = 4096;

struct FdCloser {
    void operator()(int* fd) const {
        if (fd != nullptr && *fd >= 0) {
            ::close(*fd);
        }
        delete fd;
    }
};
using UniqueFd = std::unique_ptr<int, FdCloser>;

UniqueFd AdoptFd(int fd) {
    return UniqueFd(fd >= 0 ? new int(fd) : nullptr);
}

struct HeldLock {
    std::string path;
    UniqueFd fd;
};

struct Registry {
    std::mutex mutex;
    std::map<HWND, HeldLock> held;
    unsigned serial = 0;
};

Registry& Locks() {
    static Registry* const registry = new Registry;
    return *registry;
}

void Complain(const std::string& what) {
    std::string line = "window lock: " + what + ": " + std::strerror(errno) + "\n";
    OutputDebugStringA(line.c_str());
}

std::string LockFolder() {
    std::string settings = SettingsFilePath();
    std::size_t slash = settings.rfind('/');
    return slash == std::string::npos ? std::string(".") : settings.substr(0, slash);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

std::string ReadSmallFile(int fd) {
    std::string text;
    char buffer[512];
    while (text.size() < kMaxLockFileBytes) {
        ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

bool HasPrefixAndSuffix(const std::string& name, const char* suffix) {
    std::size_t prefixLength = std::strlen(kLockPrefix);
    std::size_t suffixLength = std::strlen(suffix);
    return name.size() > prefixLength + suffixLength &&
           name.compare(0, prefixLength, kLockPrefix) == 0 &&
           name.compare(name.size() - suffixLength, suffixLength, suffix) == 0;
}

bool IsLockFileName(const std::string& name) {
    return HasPrefixAndSuffix(name, kLockSuffix);
}

// A lock file still being set up ("window-PID-N.tmp") whose process has ended: a copy that died
// between creating and renaming it.
bool IsAbandonedTemporary(const std::string& name) {
    if (!HasPrefixAndSuffix(name, kTemporarySuffix)) {
        return false;
    }
    const char* digits = name.c_str() + std::strlen(kLockPrefix);
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (errno != 0 || end == digits || *end != '-' || pid <= 0 || pid == ::getpid()) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::string OwnPrefix() {
    return std::string(kLockPrefix) + std::to_string(::getpid()) + "-";
}

// Whether the class and title recorded in a lock file match the search.
bool Matches(const std::string& contents, LPCSTR className, LPCSTR windowName) {
    std::size_t first = contents.find('\n');
    if (first == std::string::npos) {
        return false;
    }
    std::size_t second = contents.find('\n', first + 1);
    if (second == std::string::npos) {
        return false;
    }
    std::string recordedClass = contents.substr(0, first);
    std::string recordedTitle = contents.substr(first + 1, second - first - 1);
    return (className == nullptr || EqualNoCaseCp932(recordedClass, className)) &&
           (windowName == nullptr || EqualNoCaseCp932(recordedTitle, windowName));
}

}  // namespace

void RegisterInstanceWindow(HWND window) {
    std::string className;
    std::string title;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr) {
            return;
        }
        title = record->title;
        for (const WindowClass& windowClass : state.classes) {
            if (windowClass.atom == record->classAtom) {
                className = windowClass.name;
            }
        }
    }
    if (className.find('\n') != std::string::npos || title.find('\n') != std::string::npos) {
        return;  // cannot be recorded unambiguously; such a window is never searched for
    }
    std::string folder = LockFolder();
    if (int error = MakeFolders(folder); error != 0) {
        errno = error;
        Complain("cannot make " + folder);
        return;
    }
    Registry& registry = Locks();
    std::lock_guard<std::mutex> lock(registry.mutex);
    std::string stem = folder + "/" + OwnPrefix() + std::to_string(++registry.serial);
    std::string temporary = stem + kTemporarySuffix;
    std::string final = stem + kLockSuffix;
    // The file is locked and filled under a name searches ignore, then renamed into view, so a
    // search never takes a half-made file for one left by a crash.
    UniqueFd fd = AdoptFd(::open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd) {
        Complain("cannot create " + temporary);
        return;
    }
    if (::flock(*fd, LOCK_EX | LOCK_NB) != 0 || !WriteAll(*fd, className + "\n" + title + "\n") ||
        ::rename(temporary.c_str(), final.c_str()) != 0) {
        Complain("cannot set up " + final);
        ::unlink(temporary.c_str());
        return;
    }
    registry.held[window] = HeldLock{final, std::move(fd)};
}

void UnregisterInstanceWindow(HWND window) {
    Registry& registry = Locks();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.held.find(window);
    if (it == registry.held.end()) {
        return;
    }
    // Removed while still locked, so no other copy can take it for a stale file and race us.
    ::unlink(it->second.path.c_str());
    registry.held.erase(it);
}

bool ForeignInstanceWindowExists(LPCSTR className, LPCSTR windowName) {
    std::string folder = LockFolder();
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), &::closedir);
    if (!directory) {
        return false;
    }
    std::string own = OwnPrefix();
    bool found = false;
    // The whole folder is looked through, so that every file a dead copy left goes now.
    while (dirent* entry = ::readdir(directory.get())) {
        std::string name = entry->d_name;
        if (IsAbandonedTemporary(name)) {
            ::unlink((folder + "/" + name).c_str());
            continue;
        }
        if (!IsLockFileName(name) || name.compare(0, own.size(), own) == 0) {
            continue;
        }
        std::string path = folder + "/" + name;
        UniqueFd fd = AdoptFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!fd) {
            continue;
        }
        if (::flock(*fd, LOCK_SH | LOCK_NB) == 0) {
            // Nobody holds it: its copy ended without removing it.
            ::unlink(path.c_str());
            continue;
        }
        if (errno != EWOULDBLOCK) {
            continue;
        }
        found = found || Matches(ReadSmallFile(*fd), className, windowName);
    }
    return found;
}

HWND ForeignWindowHandle() {
    // Never a handle of this process: ours are multiples of 4 from 0x10010.
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7FFFFFF1u));
}

}  // namespace win32_internal
