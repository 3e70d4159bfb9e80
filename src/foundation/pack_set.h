#pragma once
// The numbered pack archives game00.dat .. game99.dat of the program directory, opened together
// as one set, and the process-wide manager that keeps the current set.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_info.h"
#include "foundation/pack_archive.h"

class PackSet {
public:
    explicit PackSet(std::string baseDir) : baseDir_(std::move(baseDir)) {}
    virtual ~PackSet();
    PackSet(const PackSet&) = delete;
    PackSet& operator=(const PackSet&) = delete;

    // Opens archives 00..99 in order, stopping at the first missing number; a damaged archive
    // is skipped with one "pack initialize error." line, a 4-byte placeholder silently. True
    // when at least one archive opened.
    bool Load();
    // The first archive (in number order) that holds `relativeName` locates `record`.
    bool Find(FileInfo& record, const char* relativeName) const;
    // Find, then the open-and-read loop on the archive; code 2 when no archive holds the name.
    bool ReadEntry(FileInfo& record, const char* relativeName, DWORD limit, DWORD* code) const;

    void AddRef();
    // Destroys the set when the count falls below 1.
    void Release();

    const std::string& baseDir() const { return baseDir_; }
    const std::vector<PackFile*>& archives() const { return archives_; }

private:
    void DeleteArchives();

    std::int32_t refCount_ = 0;
    std::string baseDir_;
    std::vector<PackFile*> archives_;
};

// A scoped reference to a PackSet.
class PackSetHolder {
public:
    PackSetHolder() = default;
    explicit PackSetHolder(PackSet* set);
    ~PackSetHolder();
    PackSetHolder(PackSetHolder&& other) noexcept;
    PackSetHolder& operator=(PackSetHolder&& other) noexcept;
    PackSetHolder(const PackSetHolder&) = delete;
    PackSetHolder& operator=(const PackSetHolder&) = delete;

    PackSet* Get() const { return set_; }
    void Reset();

private:
    PackSet* set_ = nullptr;
};

class PackManager {
public:
    // A holder on the current set, opening all archives when there is none; a holder on
    // nothing when no archive opened.
    PackSetHolder Acquire();
    // Forgets the current set, so that the next Acquire opens all archives afresh.
    void Release();
    // A holder on the current set without opening anything; on nothing when there is none.
    PackSetHolder Current();

    // Empty until the first Acquire; then the program directory.
    const std::string& baseDir() const { return baseDir_; }
    // Test-only: release the set and forget the base directory.
    void ResetForTest();

private:
    std::string baseDir_;
    PackSet* set_ = nullptr;
};

PackManager& GetPackManager();

// Writes the open archives to the log.
void DumpPackFiles();
