#include "foundation/pack_set.h"

#include <utility>

#include "foundation/file_error.h"
#include "foundation/file_handle.h"
#include "foundation/file_lock.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation/path.h"

namespace {

constexpr int kMaxPackNumber = 99;
constexpr std::size_t kReservedArchives = 8;

}  // namespace

PackSet::~PackSet() {
    DeleteArchives();
}

void PackSet::DeleteArchives() {
    for (PackFile*& pack : archives_) {
        DeletePackFile(pack);
    }
    archives_.clear();
}

bool PackSet::Load() {
    FileLock lock;
    DeleteArchives();
    archives_.reserve(kReservedArchives);
    for (int n = 0; n <= kMaxPackNumber; ++n) {
        char path[kPathLength];
        FormatPath(path, PathKind::Pack, n);
        auto* pack = new PackFile(this);
        DWORD code = 0;
        if (pack->Open(path, n, &code)) {
            archives_.push_back(pack);
            continue;
        }
        DeletePackFile(pack);
        if (code == 2 || code == 3 || code == FileError::NoPackName) {
            break;
        }
        if (code != FileError::PackPlaceholder) {
            LogPrintf("pack initialize error. code:%08x(%d) %s", code, static_cast<int>(code),
                      path);
        }
    }
    return !archives_.empty();
}

bool PackSet::Find(FileInfo& record, const char* relativeName) const {
    FileLock lock;
    for (const PackFile* pack : archives_) {
        if (pack->Find(record, relativeName)) {
            return true;
        }
    }
    return false;
}

bool PackSet::ReadEntry(FileInfo& record, const char* relativeName, DWORD limit,
                        DWORD* code) const {
    FileLock lock;
    if (!Find(record, relativeName)) {
        *code = 2;
        return false;
    }
    char path[kPathLength];
    FormatPath(path, PathKind::Pack, record.packNumber());
    return ReadFileWithRetries(path, record, limit, code);
}

void PackSet::AddRef() {
    FileLock lock;
    ++refCount_;
}

void PackSet::Release() {
    FileLock lock;
    if (--refCount_ < 1) {
        delete this;
    }
}

PackSetHolder::PackSetHolder(PackSet* set) : set_(set) {
    if (set_ != nullptr) {
        set_->AddRef();
    }
}

PackSetHolder::~PackSetHolder() {
    Reset();
}

PackSetHolder::PackSetHolder(PackSetHolder&& other) noexcept : set_(other.set_) {
    other.set_ = nullptr;
}

PackSetHolder& PackSetHolder::operator=(PackSetHolder&& other) noexcept {
    if (this != &other) {
        Reset();
        set_ = other.set_;
        other.set_ = nullptr;
    }
    return *this;
}

void PackSetHolder::Reset() {
    if (set_ != nullptr) {
        set_->Release();
        set_ = nullptr;
    }
}

PackSetHolder PackManager::Acquire() {
    FileLock lock;
    if (baseDir_.empty()) {
        char base[kPathLength];
        FormatPath(base, PathKind::Any, "");
        baseDir_ = base;
    }
    if (set_ == nullptr) {
        auto* set = new PackSet(baseDir_);
        set->AddRef();
        if (!set->Load()) {
            set->Release();
            return PackSetHolder();
        }
        set_ = set;
    }
    return PackSetHolder(set_);
}

void PackManager::Release() {
    FileLock lock;
    if (set_ != nullptr) {
        PackSet* set = std::exchange(set_, nullptr);
        set->Release();
    }
}

PackSetHolder PackManager::Current() {
    FileLock lock;
    return PackSetHolder(set_);
}

void PackManager::ResetForTest() {
    FileLock lock;
    Release();
    baseDir_.clear();
}

PackManager& GetPackManager() {
    static PackManager* manager = new PackManager();
    return *manager;
}

void DumpPackFiles() {
    FileLock lock;
    PackSetHolder holder = GetPackManager().Current();
    LogPrintf("%s", "");
    LogPrintf("[PackFile]");
    if (holder.Get() == nullptr) {
        LogPrintf("no pack file.");
        LogPrintf("%s", "");
        return;
    }
    if (holder.Get()->archives().empty()) {
        LogPrintf(" no pack file.");
    }
    for (const PackFile* pack : holder.Get()->archives()) {
        LogPrintf(" Pack file No.%d  dir:%3d file:%6d", pack->number(),
                  static_cast<int>(pack->dirCount()), static_cast<int>(pack->fileCount()));
    }
}

namespace foundation_test {

void ResetPackState() {
    GetPackManager().ResetForTest();
}

}  // namespace foundation_test
