#pragma once
// Internal: whole reads and writes on file descriptors, retried on EINTR and short transfers,
// and the making of folders.

#include <cstddef>
#include <string>

// Reads until `size` bytes or the end of the file; 0 or the errno of the failure. `done` gets
// the bytes read either way, and the test hook BytesRead counts them.
int ReadFully(int fd, void* buffer, std::size_t size, std::size_t* done);
// Writes all `size` bytes; 0 or the errno of the failure (ENOSPC when the system stops writing
// without one). `done` gets the bytes written either way. Honours the test hook that fails
// writes after a number of bytes.
int WriteFully(int fd, const void* buffer, std::size_t size, std::size_t* done);

// Whether the test hook SkipFlushes is on: flushes to the disk are left out.
bool FlushesSkipped();

// Makes `path` and its missing parents (mode 0700), as mkdir -p; 0 when it is a folder
// afterwards, else the errno of the failure (ENOTDIR when something else stands there).
int MakeFolders(const std::string& path);
