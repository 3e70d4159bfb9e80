#include "platform/winbase/program_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"

namespace {

struct ProgramLocation {
    std::mutex mutex;
    std::string chosenDirectory;  // empty: the executable's own folder
};

ProgramLocation& Location() {
    static ProgramLocation* location = new ProgramLocation;
    return *location;
}

const std::string& ExecutablePath() {
    static const std::string path = [] {
        std::string buffer(4096, '\0');
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
        if (length <= 0) {
            return std::string("/qvn");
        }
        buffer.resize(static_cast<std::size_t>(length));
        return buffer;
    }();
    return path;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The directory UsePrivateProgramDirectory made; removed at exit.
std::string& PrivateDirectory() {
    static std::string* directory = new std::string;
    return *directory;
}

void RemovePrivateDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(PrivateDirectory(), ignored);
}

void ChooseDirectory(const std::string& linuxDir) {
    ProgramLocation& location = Location();
    std::lock_guard lock(location.mutex);
    location.chosenDirectory = linuxDir.empty() ? std::string() : WithoutTrailingSlashes(linuxDir);
}

}  // namespace

std::string ProgramDirectoryLinux() {
    {
        ProgramLocation& location = Location();
        std::lock_guard lock(location.mutex);
        if (!location.chosenDirectory.empty()) {
            return location.chosenDirectory;
        }
    }
    const std::string& exe = ExecutablePath();
    std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return "/";
    }
    return exe.substr(0, slash);
}

std::string ProgramDirectoryWindows() {
    std::string path = ProgramDirectoryLinux();
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
}

std::string ExecutableFileName() {
    const std::string& exe = ExecutablePath();
    std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    if (module != nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);  // only the program itself is a module here
        return 0;
    }
    if (buffer == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path = ProgramDirectoryWindows() + ExecutableFileName();
    if (path.size() >= size) {
        // Cut and terminated, as Windows does, with the error that says so.
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.data(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

bool SetProgramDirectory(const std::string& linuxDir) {
    if (!linuxDir.empty()) {
        struct stat info {};
        if (linuxDir.front() != '/' || stat(linuxDir.c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode)) {
            return false;
        }
    }
    ChooseDirectory(linuxDir);
    return true;
}

namespace win32_test {

void SetProgramDirectory(const std::string& linuxDir) {
    ChooseDirectory(linuxDir);
}

const std::string& UsePrivateProgramDirectory(const std::string& name) {
    static const bool made = [&name] {
        std::string pattern = "/tmp/qvn-" + name + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        PrivateDirectory() = pattern;
        std::atexit(RemovePrivateDirectory);
        return true;
    }();
    (void)made;
    ChooseDirectory(PrivateDirectory());
    return PrivateDirectory();
}

}  // namespace win32_test
