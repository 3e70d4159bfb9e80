#include "platform/winbase/posix_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>

#include "platform/winbase/test_hooks.h"

namespace {

std::atomic<std::uint64_t> bytesRead{0};

// Bytes that may still be written before writes fail with ENOSPC; negative: no limit.
std::mutex faultMutex;
std::int64_t writeAllowance = -1;

// How many of `wanted` bytes may be written; takes them off the allowance.
std::size_t TakeWriteAllowance(std::size_t wanted) {
    std::lock_guard lock(faultMutex);
    if (writeAllowance < 0) {
        return wanted;
    }
    std::size_t granted = static_cast<std::uint64_t>(writeAllowance) < wanted
                              ? static_cast<std::size_t>(writeAllowance)
                              : wanted;
    writeAllowance -= static_cast<std::int64_t>(granted);
    return granted;
}

}  // namespace

int ReadFully(int fd, void* buffer, std::size_t size, std::size_t* done) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
    int error = 0;
    while (total < size) {
        ssize_t got = read(fd, bytes + total, size - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    bytesRead += total;
    *done = total;
    return error;
}

int WriteFully(int fd, const void* buffer, std::size_t size, std::size_t* done) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t allowed = TakeWriteAllowance(size);
    std::size_t total = 0;
    int error = 0;
    while (total < allowed) {
        ssize_t put = write(fd, bytes + total, allowed - total);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        if (put == 0) {
            error = ENOSPC;
            break;
        }
        total += static_cast<std::size_t>(put);
    }
    if (error == 0 && allowed < size) {
        error = ENOSPC;
    }
    *done = total;
    return error;
}

namespace {

std::atomic<bool> flushesSkipped{false};

}  // namespace

bool FlushesSkipped() {
    return flushesSkipped.load();
}

namespace win32_test {

void FailWritesAfter(std::int64_t bytes) {
    std::lock_guard lock(faultMutex);
    writeAllowance = bytes;
}

void SkipFlushes(bool skip) {
    flushesSkipped = skip;
}

std::uint64_t BytesRead() {
    return bytesRead.load();
}

}  // namespace win32_test

int MakeFolders(const std::string& path) {
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') {
            continue;
        }
        std::string prefix = path.substr(0, pos);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return ENOTDIR;
    }
    return 0;
}
