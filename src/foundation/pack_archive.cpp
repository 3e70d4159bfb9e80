#include "foundation/pack_archive.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "foundation/file_error.h"
#include "foundation/file_handle.h"
#include "foundation/file_lock.h"
#include "foundation/sjis.h"
#include "foundation/text.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr int kOpenTries = 4;

std::uint32_t LoadWord(const BYTE* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Walks the name pool of a header block, making each name NUL-terminated in place.
class NamePool {
public:
    NamePool(BYTE* block, std::uint64_t start, std::uint64_t end)
        : block_(block), position_(start), end_(end) {}

    // The next name, or null when the pool is exhausted.
    const char* Next() {
        if (position_ >= end_) {
            return nullptr;
        }
        const unsigned length = hasPending_ ? pending_ : block_[position_];
        hasPending_ = false;
        const std::uint64_t nameStart = position_ + 1;
        if (length == 0) {
            const void* nul =
                nameStart < end_
                    ? std::memchr(block_ + nameStart, 0, static_cast<std::size_t>(end_ - nameStart))
                    : nullptr;
            if (nul == nullptr) {
                return nullptr;
            }
            position_ = static_cast<std::uint64_t>(static_cast<const BYTE*>(nul) - block_) + 1;
            return reinterpret_cast<const char*>(block_ + nameStart);
        }
        const std::uint64_t nameEnd = nameStart + length;
        if (nameEnd >= end_) {
            return nullptr;
        }
        // The byte after the name is the next name's length byte: keep it, then terminate.
        pending_ = block_[nameEnd];
        hasPending_ = true;
        block_[nameEnd] = 0;
        position_ = nameEnd;
        return reinterpret_cast<const char*>(block_ + nameStart);
    }

private:
    BYTE* block_;
    std::uint64_t position_;
    std::uint64_t end_;
    unsigned pending_ = 0;
    bool hasPending_ = false;
};

// The first backslash of a Shift-JIS name (a trail byte 0x5C is not one), or null.
const char* FindSeparator(const char* name) {
    for (const char* p = name; *p != '\0'; p = sjis::Next(p)) {
        if (*p == '\\') {
            return p;
        }
    }
    return nullptr;
}

}  // namespace

bool PackDirNode::LessByName(const PackDirNode* a, const PackDirNode* b) {
    return CompareNoCase(a->name != nullptr ? a->name : "", b->name != nullptr ? b->name : "") < 0;
}

bool PackDirNode::LessThanComponent(const PackDirNode* child, const char* component,
                                    std::size_t length) {
    return CompareNoCasePrefix(child->name != nullptr ? child->name : "", component, length) < 0;
}

std::uint32_t PackFile::ReadWord(std::uint64_t offset) const {
    return LoadWord(block_.get() + offset);
}

void PackFile::Close() {
    block_.reset();
    headerSize_ = 0;
    dirEntries_ = 0;
    fileEntries_ = 0;
    dirs_.clear();
    fileNames_.clear();
    number_ = -1;
}

bool PackFile::Open(const char* path, std::int32_t number, DWORD* code) {
    FileLock lock;
    Close();
    if (path == nullptr || path[0] == '\0') {
        *code = FileError::NoPackName;
        return false;
    }
    *code = FileError::PackOpenFailed;
    if (number < 0) {
        *code = ERROR_INVALID_PARAMETER;
        return false;
    }

    FileHandle file;
    bool opened = false;
    for (int attempt = 0; attempt < kOpenTries && !opened; ++attempt) {
        opened = file.OpenRead(path, true);
        if (!opened) {
            *code = 2;
        }
    }
    if (!opened) {
        *code = 2;
        return false;
    }

    BYTE start[8];
    const std::int64_t got = file.Read(start, sizeof(start));
    if (got == 4 && LoadWord(start) == 0) {
        *code = FileError::PackPlaceholder;
        return false;
    }
    if (got != static_cast<std::int64_t>(sizeof(start))) {
        *code = file.lastError() != 0 ? file.lastError() : FileError::ShortRead;
        return false;
    }
    if (LoadWord(start) != kPackMagic) {
        *code = FileError::BadMagic;
        return false;
    }
    const std::uint64_t headerSize = LoadWord(start + 4);
    std::int64_t fileSize = 0;
    if (!file.Size(&fileSize)) {
        *code = file.lastError();
        return false;
    }
    if (headerSize < kPackHeaderFixedSize || headerSize > static_cast<std::uint64_t>(fileSize)) {
        // A header that cannot be read whole.
        *code = FileError::ShortRead;
        return false;
    }
    block_.reset(new (std::nothrow) BYTE[headerSize]);
    if (!block_) {
        *code = ERROR_OUTOFMEMORY;
        return false;
    }
    std::memcpy(block_.get(), start, sizeof(start));
    const auto rest = static_cast<DWORD>(headerSize - sizeof(start));
    const std::int64_t restRead = file.Read(block_.get() + sizeof(start), rest);
    if (restRead != static_cast<std::int64_t>(rest)) {
        *code = file.lastError() != 0 ? file.lastError() : FileError::ShortRead;
        Close();
        return false;
    }
    file.Close();
    headerSize_ = headerSize;

    bool parsed = false;
    try {
        parsed = ParseHeader(code);
    } catch (const std::exception&) {
        // The node tables of a huge directory count.
        *code = ERROR_OUTOFMEMORY;
    }
    if (!parsed) {
        Close();
        return false;
    }
    *code = 0;
    number_ = number;
    return true;
}

bool PackFile::ParseHeader(DWORD* code) {
    const std::uint64_t dirCount = ReadWord(8);
    const std::uint64_t fileCount = ReadWord(12);
    if (dirCount == 0) {
        *code = FileError::RootNotFirst;
        return false;
    }
    dirEntries_ = kPackHeaderFixedSize;
    fileEntries_ = dirEntries_ + kPackDirEntrySize * dirCount;
    const std::uint64_t poolStart = fileEntries_ + kPackFileEntrySize * fileCount;
    if (poolStart > headerSize_) {
        *code = FileError::BadHeader;
        return false;
    }
    NamePool pool(block_.get(), poolStart, headerSize_);

    dirs_.resize(static_cast<std::size_t>(dirCount));
    std::uint32_t previousEnd = 0;
    for (std::uint64_t i = 0; i < dirCount; ++i) {
        PackDirNode& node = dirs_[static_cast<std::size_t>(i)];
        const std::uint64_t entry = dirEntries_ + i * kPackDirEntrySize;
        node.parent = ReadWord(entry);
        const std::uint32_t rawEnd = ReadWord(entry + 4);
        const bool isRoot = node.parent == kPackRootParent;
        if (i == 0 && !isRoot) {
            *code = FileError::RootNotFirst;
            return false;
        }
        if (i != 0 && isRoot) {
            *code = FileError::ExtraRoot;
            return false;
        }
        if (!isRoot) {
            node.name = pool.Next();
            if (node.name == nullptr) {
                *code = FileError::DirNamesExhausted;
                return false;
            }
        }
        node.firstFile = i == 0 ? 0 : previousEnd;
        node.endFile = (rawEnd == 0 && !isRoot) ? static_cast<std::uint32_t>(fileCount) : rawEnd;
        if (node.endFile > fileCount) {
            *code = FileError::BadHeader;
            return false;
        }
        previousEnd = rawEnd;
    }
    for (std::size_t i = 1; i < dirs_.size(); ++i) {
        if (dirs_[i].parent >= dirCount) {
            *code = FileError::BadParent;
            return false;
        }
        dirs_[dirs_[i].parent].children.push_back(&dirs_[i]);
    }
    fileNames_.reserve(static_cast<std::size_t>(fileCount));
    for (std::uint64_t i = 0; i < fileCount; ++i) {
        const char* name = pool.Next();
        if (name == nullptr) {
            *code = FileError::FileNamesExhausted;
            return false;
        }
        fileNames_.push_back(name);
    }
    for (PackDirNode& node : dirs_) {
        std::sort(node.children.begin(), node.children.end(), PackDirNode::LessByName);
    }
    return true;
}

bool PackFile::Find(FileInfo& record, const char* name, const PackDirNode* node) const {
    FileLock lock;
    if (name == nullptr || name[0] == '\0' || dirs_.empty()) {
        return false;
    }
    if (node == nullptr) {
        node = &dirs_[0];
    }
    for (;;) {
        const char* separator = FindSeparator(name);
        if (separator == nullptr) {
            break;
        }
        const auto length = static_cast<std::size_t>(separator - name);
        if (length == 0) {
            // An empty component (a doubled or leading backslash) names no folder.
            return false;
        }
        auto child =
            std::lower_bound(node->children.begin(), node->children.end(), name,
                             [length](const PackDirNode* c, const char* component) {
                                 return PackDirNode::LessThanComponent(c, component, length);
                             });
        if (child == node->children.end() ||
            CompareNoCasePrefix((*child)->name, name, length) != 0) {
            return false;
        }
        node = *child;
        name = separator + 1;
    }
    if (name[0] == '\0' || node->firstFile >= node->endFile) {
        return false;
    }
    auto first = fileNames_.begin() + node->firstFile;
    auto last = fileNames_.begin() + node->endFile;
    auto found = std::lower_bound(first, last, name, [](const char* entry, const char* wanted) {
        return CompareNoCase(entry, wanted) < 0;
    });
    if (found == last || CompareNoCase(*found, name) != 0) {
        return false;
    }
    const std::uint64_t entry =
        fileEntries_ + static_cast<std::uint64_t>(found - fileNames_.begin()) * kPackFileEntrySize;
    return record.SetPackEntry(ReadWord(entry + 4), ReadWord(entry), number_, 0);
}

std::vector<PackFile::Listing> PackFile::ListFiles() const {
    FileLock lock;
    std::vector<Listing> listing;
    listing.reserve(fileNames_.size());
    for (const PackDirNode& node : dirs_) {
        std::string folder;
        // Parents may come after their children in entry order; the depth is at most D.
        std::size_t depth = 0;
        for (const PackDirNode* p = &node; p->name != nullptr && depth <= dirs_.size();
             p = &dirs_[p->parent], ++depth) {
            folder = std::string(p->name) + "\\" + folder;
        }
        for (std::uint32_t i = node.firstFile; i < node.endFile; ++i) {
            const std::uint64_t entry = fileEntries_ + std::uint64_t{i} * kPackFileEntrySize;
            listing.push_back({folder + fileNames_[i], ReadWord(entry + 4)});
        }
    }
    return listing;
}

void DeletePackFile(PackFile*& pack) {
    try {
        delete pack;
    } catch (...) {
    }
    pack = nullptr;
}
