// Calls on files and folders by name.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/winbase/file_api.h"
#include "platform/winbase/path_translation.h"
#include "platform/winbase/posix_io.h"

namespace {

// Makes a rename durable: the folder that holds the new name is flushed.
void SyncFolderOf(const std::string& path) {
    if (FlushesSkipped()) {
        return;
    }
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".")
                         : slash == 0               ? std::string("/")
                                                    : path.substr(0, slash);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

DWORD GetFileAttributesA(LPCSTR name) {
    LinuxPath path = TranslatePath(name);
    if (path.error != 0) {
        SetLastError(path.error);
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat info;
    if (stat(path.path.c_str(), &info) != 0) {
        SetLastError(Win32ErrorForPath(errno, path));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

BOOL DeleteFileA(LPCSTR name) {
    LinuxPath path = TranslatePath(name);
    if (path.error != 0) {
        SetLastError(path.error);
        return FALSE;
    }
    if (unlink(path.path.c_str()) != 0) {
        SetLastError(Win32ErrorForPath(errno, path));
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    LinuxPath source = TranslatePath(from);
    if (source.error != 0) {
        SetLastError(source.error);
        return FALSE;
    }
    LinuxPath target = TranslatePath(to);
    if (target.error != 0) {
        SetLastError(target.error);
        return FALSE;
    }
    struct stat info;
    if (lstat(source.path.c_str(), &info) != 0) {
        SetLastError(Win32ErrorForPath(errno, source));
        return FALSE;
    }
    int result;
    if (flags & MOVEFILE_REPLACE_EXISTING) {
        result = rename(source.path.c_str(), target.path.c_str());
    } else {
        result = renameat2(AT_FDCWD, source.path.c_str(), AT_FDCWD, target.path.c_str(),
                           RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) {  // a file system without RENAME_NOREPLACE
            struct stat existing;
            if (lstat(target.path.c_str(), &existing) == 0) {
                errno = EEXIST;
            } else {
                result = rename(source.path.c_str(), target.path.c_str());
            }
        }
    }
    if (result != 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorForPath(errno, target));
        return FALSE;
    }
    if (flags & MOVEFILE_WRITE_THROUGH) {
        SyncFolderOf(target.path);
    }
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR name, SECURITY_ATTRIBUTES* /*security*/) {
    LinuxPath path = TranslatePath(name);
    if (path.error != 0) {
        SetLastError(path.error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : path.error);
        return FALSE;
    }
    if (mkdir(path.path.c_str(), 0777) != 0) {
        int error = errno;
        SetLastError(error == EEXIST   ? ERROR_ALREADY_EXISTS
                     : error == ENOENT ? ERROR_PATH_NOT_FOUND
                                       : Win32ErrorForPath(error, path));
        return FALSE;
    }
    return TRUE;
}
