// CreateFileA and the calls on an open file handle.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/winbase/errno_mapping.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/kernel_object.h"
#include "platform/winbase/local_time.h"
#include "platform/winbase/path_translation.h"
#include "platform/winbase/posix_io.h"

namespace {

using FileId = std::pair<dev_t, ino_t>;

// Open files of this process by identity, for the sharing rules of CreateFileA.
struct ShareTable {
    std::mutex mutex;
    std::multimap<FileId, std::pair<DWORD, DWORD>> opens;  // access, share
};

ShareTable& Shares() {
    static ShareTable* table = new ShareTable;
    return *table;
}

class FileObject : public KernelObject {
public:
    FileObject(int fd, DWORD access, FileId id) : fd_(fd), access_(access), id_(id) {}
    ~FileObject() override {
        if (shared_) {
            ShareTable& table = Shares();
            std::lock_guard lock(table.mutex);
            auto range = table.opens.equal_range(id_);
            for (auto it = range.first; it != range.second; ++it) {
                if (it->second.first == access_ && it->second.second == share_) {
                    table.opens.erase(it);
                    break;
                }
            }
        }
        close(fd_);
    }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    int fd() const { return fd_; }
    bool canRead() const { return (access_ & GENERIC_READ) != 0; }
    bool canWrite() const { return (access_ & GENERIC_WRITE) != 0; }
    // Called once the open is entered in the share table, which the destructor then leaves.
    void markShared(DWORD share) {
        share_ = share;
        shared_ = true;
    }

private:
    int fd_;
    DWORD access_;
    DWORD share_ = 0;
    bool shared_ = false;
    FileId id_;
};

bool SharingConflicts(DWORD accessA, DWORD shareA, DWORD accessB, DWORD shareB) {
    auto conflicts = [](DWORD access, DWORD otherShare) {
        return ((access & GENERIC_READ) && !(otherShare & FILE_SHARE_READ)) ||
               ((access & GENERIC_WRITE) && !(otherShare & FILE_SHARE_WRITE));
    };
    return conflicts(accessA, shareB) || conflicts(accessB, shareA);
}

std::shared_ptr<FileObject> FindFile(HANDLE handle) {
    std::shared_ptr<FileObject> file = FindKernelObjectAs<FileObject>(handle);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return file;
}

// Moves the file position; false (with the last error set) when it would become negative.
bool Seek(const FileObject& file, LONGLONG distance, DWORD method, LONGLONG* newPosition) {
    int whence = method == FILE_BEGIN     ? SEEK_SET
                 : method == FILE_CURRENT ? SEEK_CUR
                 : method == FILE_END     ? SEEK_END
                                          : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    off_t origin = 0;
    if (whence != SEEK_SET) {
        struct stat info;
        origin = whence == SEEK_CUR ? lseek(file.fd(), 0, SEEK_CUR)
                                    : (fstat(file.fd(), &info) == 0 ? info.st_size : -1);
        if (origin < 0) {
            SetLastError(Win32ErrorFromErrno(errno, true));
            return false;
        }
    }
    if ((distance < 0 && origin + distance < 0) ||
        (distance > 0 && origin > std::numeric_limits<off_t>::max() - distance)) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return false;
    }
    off_t target = origin + distance;
    if (lseek(file.fd(), target, SEEK_SET) < 0) {
        SetLastError(Win32ErrorFromErrno(errno, true));
        return false;
    }
    *newPosition = target;
    return true;
}

// The common course of ReadFile and WriteFile: `transfer` moves up to `count` bytes through the
// descriptor, reports how many in its last argument and returns an errno value (0: all moved).
template <typename Buffer, typename Transfer>
BOOL TransferBytes(HANDLE handle, Buffer buffer, DWORD count, LPDWORD moved, bool writing,
                   Transfer transfer) {
    if (moved != nullptr) {
        *moved = 0;
    }
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return FALSE;
    }
    if (buffer == nullptr && count != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(writing ? file->canWrite() : file->canRead())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    std::size_t done = 0;
    int error = transfer(file->fd(), buffer, count, &done);
    if (moved != nullptr) {
        *moved = static_cast<DWORD>(done);
    }
    if (error != 0) {
        const DWORD fault = writing ? ERROR_WRITE_FAULT : ERROR_READ_FAULT;
        SetLastError(error == EIO ? fault : Win32ErrorFromErrno(error, true));
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* /*security*/,
                   DWORD disposition, DWORD flags, HANDLE /*templateFile*/) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    LinuxPath path = TranslatePath(name);
    if (path.error != 0) {
        SetLastError(path.error);
        return INVALID_HANDLE_VALUE;
    }

    int openFlags = O_CLOEXEC;
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) {
        openFlags |= O_RDWR;
    } else if (access & GENERIC_WRITE) {
        openFlags |= O_WRONLY;
    } else {
        openFlags |= O_RDONLY;
    }
    if (disposition == CREATE_NEW) {
        openFlags |= O_CREAT | O_EXCL;
    } else if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) {
        openFlags |= O_CREAT;
    }
    struct stat before;
    bool existed = stat(path.path.c_str(), &before) == 0;
    if (existed && S_ISDIR(before.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);  // a folder is never a file
        return INVALID_HANDLE_VALUE;
    }
    mode_t mode = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    int fd;
    do {
        fd = open(path.path.c_str(), openFlags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetLastError(Win32ErrorForPath(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }

    FileId id{info.st_dev, info.st_ino};
    auto file = std::make_unique<FileObject>(fd, access, id);
    {
        ShareTable& table = Shares();
        std::lock_guard lock(table.mutex);
        auto range = table.opens.equal_range(id);
        for (auto it = range.first; it != range.second; ++it) {
            if (SharingConflicts(access, share, it->second.first, it->second.second)) {
                file.reset();  // closes the descriptor; its entry was never added
                SetLastError(ERROR_SHARING_VIOLATION);
                return INVALID_HANDLE_VALUE;
            }
        }
        table.opens.emplace(id, std::make_pair(access, share));
        file->markShared(share);
    }
    // Truncation waits for the sharing check, so that a refused open never empties a file.
    if ((disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) && info.st_size != 0 &&
        ftruncate(fd, 0) != 0) {
        DWORD error = Win32ErrorFromErrno(errno, true);
        file.reset();
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (flags & FILE_FLAG_SEQUENTIAL_SCAN) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    } else if (flags & FILE_FLAG_RANDOM_ACCESS) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    }
    bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    HANDLE handle = RegisterKernelObject(std::move(file));
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, OVERLAPPED* /*overlapped*/) {
    return TransferBytes(handle, buffer, count, read, false, ReadFully);
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, LPDWORD written,
               OVERLAPPED* /*overlapped*/) {
    return TransferBytes(handle, buffer, count, written, true, WriteFully);
}

BOOL FlushFileBuffers(HANDLE handle) {
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return FALSE;
    }
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!FlushesSkipped() && fsync(file->fd()) != 0) {
        SetLastError(errno == EIO ? ERROR_WRITE_FAULT : Win32ErrorFromErrno(errno, true));
        return FALSE;
    }
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size) {
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return FALSE;
    }
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat info;
    if (fstat(file->fd(), &info) != 0) {
        SetLastError(Win32ErrorFromErrno(errno, true));
        return FALSE;
    }
    size->QuadPart = info.st_size;
    return TRUE;
}

DWORD GetFileSize(HANDLE handle, LPDWORD high) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
        return INVALID_FILE_SIZE;
    }
    if (high != nullptr) {
        *high = static_cast<DWORD>(size.u.HighPart);
    }
    // A size whose low part is all ones is told apart from a failure by the last error 0.
    SetLastError(ERROR_SUCCESS);
    return size.u.LowPart;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return INVALID_SET_FILE_POINTER;
    }
    LONGLONG move = distance;
    if (distanceHigh != nullptr) {
        move = static_cast<LONGLONG>(
            (static_cast<ULONGLONG>(static_cast<DWORD>(*distanceHigh)) << 32) |
            static_cast<DWORD>(distance));
    }
    LONGLONG position = 0;
    if (distanceHigh == nullptr) {
        // Without the high part the new position must fit in 32 bits; check before moving.
        LONGLONG current = 0;
        if (!Seek(*file, 0, FILE_CURRENT, &current)) {
            return INVALID_SET_FILE_POINTER;
        }
        LONGLONG probe = 0;
        if (!Seek(*file, move, method, &probe)) {
            return INVALID_SET_FILE_POINTER;
        }
        if (probe > static_cast<LONGLONG>(0xFFFFFFFFu)) {
            Seek(*file, current, FILE_BEGIN, &position);
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_SET_FILE_POINTER;
        }
        position = probe;
    } else if (!Seek(*file, move, method, &position)) {
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr) {
        *distanceHigh = static_cast<LONG>(static_cast<ULONGLONG>(position) >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(position);
}

BOOL SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, LARGE_INTEGER* newPosition,
                      DWORD method) {
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return FALSE;
    }
    LONGLONG position = 0;
    if (!Seek(*file, distance.QuadPart, method, &position)) {
        return FALSE;
    }
    if (newPosition != nullptr) {
        newPosition->QuadPart = position;
    }
    return TRUE;
}

BOOL GetFileTime(HANDLE handle, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite) {
    std::shared_ptr<FileObject> file = FindFile(handle);
    if (!file) {
        return FALSE;
    }
    struct stat info;
    if (fstat(file->fd(), &info) != 0) {
        SetLastError(Win32ErrorFromErrno(errno, true));
        return FALSE;
    }
    if (creation != nullptr) {
        *creation = UnixTimeToFileTime(info.st_ctim.tv_sec, info.st_ctim.tv_nsec);
    }
    if (lastAccess != nullptr) {
        *lastAccess = UnixTimeToFileTime(info.st_atim.tv_sec, info.st_atim.tv_nsec);
    }
    if (lastWrite != nullptr) {
        *lastWrite = UnixTimeToFileTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    }
    return TRUE;
}
