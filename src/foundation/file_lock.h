#pragma once
// The one lock of the file layer. Every pack operation, the alternate-directory step of the path
// builder and the pack part of every load run under it. It is re-entrant: nested guards on one
// thread are allowed.

#include <mutex>

class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

// The process-wide section behind FileLock; built on first use, so it exists before any static
// constructor can need it.
CriticalSection& GetFileCriticalSection();

// Scoped guard on the file layer's critical section.
class FileLock {
public:
    FileLock() : section_(GetFileCriticalSection()) { section_.Enter(); }
    ~FileLock() { section_.Leave(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    CriticalSection& section_;
};
