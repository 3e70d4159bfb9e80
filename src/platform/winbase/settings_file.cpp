#include "platform/winbase/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/winbase/errno_mapping.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/posix_io.h"
#include "platform/winbase/registry.h"

namespace {

constexpr char kMakerFolder[] = "Velkaro";
constexpr char kProgramFolder[] = "qvn";
constexpr char kFileName[] = "settings.txt";
constexpr char kLockName[] = "settings.lock";
// A temporary file is named "settings.txt.tmp-" and the six letters or digits that mkostemp
// puts in place of the pattern.
constexpr char kTemporaryMark[] = ".tmp-";
constexpr std::string_view kTemporaryPattern = "XXXXXX";

std::string ConfigHome() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        if (passwd* entry = getpwuid(getuid())) {
            home = entry->pw_dir;
        }
    }
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string SettingsFolder() {
    return ConfigHome() + "/" + kMakerFolder + "/" + kProgramFolder;
}

class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    ~FdGuard() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return fd_; }
    // Closes now; 0 or the errno of close.
    int closeNow() {
        int result = close(fd_) == 0 ? 0 : errno;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Whether `name` is one SaveSettingsFile gives its temporary file.
bool IsSettingsTemporary(std::string_view name) {
    const std::string stem = std::string(kFileName) + kTemporaryMark;
    if (name.size() != stem.size() + kTemporaryPattern.size() || !name.starts_with(stem)) {
        return false;
    }
    for (const char c : name.substr(stem.size())) {
        const bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) {
            return false;
        }
    }
    return true;
}

DWORD WriteError(int error) {
    return error == EIO ? ERROR_WRITE_FAULT : Win32ErrorFromErrno(error, true);
}

}  // namespace

std::string SettingsFilePath() {
    return SettingsFolder() + "/" + kFileName;
}

SettingsFileLock::SettingsFileLock() {
    std::string folder = SettingsFolder();
    if (MakeFolders(folder) != 0) {
        return;
    }
    fd_ = open((folder + "/" + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

SettingsFileLock::~SettingsFileLock() {
    if (fd_ >= 0) {
        close(fd_);  // releases the lock
    }
}

bool SettingsFileStamp::operator==(const SettingsFileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<SettingsFileStamp> StatSettingsFile() {
    struct stat info {};
    if (stat(SettingsFilePath().c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return SettingsFileStamp{};
        }
        return std::nullopt;
    }
    return SettingsFileStamp{true,         info.st_dev,  info.st_ino,
                             info.st_size, info.st_mtim, info.st_ctim};
}

DWORD LoadSettingsFile(SettingsStore* store) {
    *store = SettingsStore();
    std::string path = SettingsFilePath();
    FdGuard file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ERROR_SUCCESS
                                                   : Win32ErrorFromErrno(errno, true);
    }
    std::string text;
    char chunk[65536];
    while (true) {
        std::size_t got = 0;
        int error = ReadFully(file.get(), chunk, sizeof chunk, &got);
        if (error != 0) {
            return error == EIO ? ERROR_READ_FAULT : Win32ErrorFromErrno(error, true);
        }
        text.append(chunk, got);
        if (got < sizeof chunk) {
            break;
        }
    }
    SettingsParseResult parsed = ParseSettingsText(text);
    if (parsed.damagedLines > 0) {
        std::string line = "settings store: skipped " + std::to_string(parsed.damagedLines) +
                           " damaged line(s) of " + path + ", the first at line " +
                           std::to_string(parsed.firstDamagedLine) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    *store = std::move(parsed.store);
    return ERROR_SUCCESS;
}

DWORD SaveSettingsFile(const SettingsStore& store) {
    std::string folder = SettingsFolder();
    if (int error = MakeFolders(folder)) {
        return Win32ErrorFromErrno(error, false);
    }
    std::string path = folder + "/" + kFileName;
    std::string temporary = path + kTemporaryMark + std::string(kTemporaryPattern);
    FdGuard file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) {
        return WriteError(errno);
    }
    std::string text = FormatSettingsText(store);
    std::size_t written = 0;
    int error = WriteFully(file.get(), text.data(), text.size(), &written);
    if (error == 0 && fsync(file.get()) != 0) {
        error = errno;
    }
    if (error == 0) {
        fchmod(file.get(), 0600);
        error = file.closeNow();
    }
    if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary.c_str());
        return WriteError(error);
    }
    FdGuard folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0) {
        fsync(folderFd.get());
    }
    return ERROR_SUCCESS;
}

void RemoveStaleSettingsFiles() {
    // Every write holds the lock until its rename: a temporary file seen under it is stale.
    SettingsFileLock lock;
    const std::string folder = SettingsFolder();
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), &closedir);
    if (!directory) {
        return;
    }
    while (const dirent* entry = readdir(directory.get())) {
        if (IsSettingsTemporary(entry->d_name)) {
            unlink((folder + "/" + entry->d_name).c_str());
        }
    }
}
