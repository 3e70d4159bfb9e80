#include "foundation/pack_archive.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <new>
#include <string_view>

#include "foundation/byte_reader.h"
#include "foundation/file_error.h"
#include "foundation/file_handle.h"
#include "foundation/file_lock.h"
#include "foundation/sjis.h"
#include "foundation/text.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr int kOpenTries = 4;

// Walks the name pool of a header block, making each name NUL-terminated in place: the byte
// after a length-prefixed name (the next name's length byte) is read first, then overwritten.
class NamePool {
public:
    // `block` holds `blockSize` bytes; the pool is [start, blockSize).
    NamePool(BYTE* block, std::uint64_t blockSize, std::uint64_t start)
        : block_(block),
          reader_(ByteReader(block, blockSize).Sub(start, blockSize - start)),
          start_(start) {}

    // The next name, or null when the pool is exhausted.
    const char* Next() {
        const unsigned length = hasPending_ ? pending_ : reader_.U8();
        hasPending_ = false;
        if (reader_.Failed()) {
            return nullptr;
        }
        if (length == 0) {
            const std::string_view name = reader_.TerminatedView(reader_.Remaining());
            return reader_.Failed() ? nullptr : name.data();
        }
        // One byte must follow the name inside the block.
        if (!reader_.Has(std::size_t{length} + 1)) {
            return nullptr;
        }
        const auto* name = reinterpret_cast<const char*>(reader_.Span(length).data());
        pending_ = reader_.U8();
        hasPending_ = true;
        block_[start_ + reader_.Position() - 1] = 0;
        return name;
    }

private:
    BYTE* block_;
    ByteReader reader_;
    std::uint64_t start_;
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

ByteReader PackFile::Header() const {
    return ByteReader(block_.get(), static_cast<std::size_t>(headerSize_));
}

ByteReader PackFile::FileEntry(std::uint64_t index) const {
    return Header().Sub(static_cast<std::size_t>(fileEntries_ + index * kPackFileEntrySize),
                        kPackFileEntrySize);
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
    ByteReader startReader(start, got > 0 ? static_cast<std::size_t>(got) : 0);
    const std::uint32_t magic = startReader.U32();
    if (got == 4 && magic == 0) {
        *code = FileError::PackPlaceholder;
        return false;
    }
    if (got != static_cast<std::int64_t>(sizeof(start))) {
        *code = file.lastError() != 0 ? file.lastError() : FileError::ShortRead;
        return false;
    }
    if (magic != kPackMagic) {
        *code = FileError::BadMagic;
        return false;
    }
    const std::uint64_t headerSize = startReader.U32();
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
    std::copy(std::begin(start), std::end(start), block_.get());
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
    ByteReader header = Header();
    header.Seek(8);
    const std::uint64_t dirCount = header.U32();
    const std::uint64_t fileCount = header.U32();
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
    NamePool pool(block_.get(), headerSize_, poolStart);
    ByteReader dirEntries = header.Sub(static_cast<std::size_t>(dirEntries_),
                                       static_cast<std::size_t>(kPackDirEntrySize * dirCount));

    dirs_.resize(static_cast<std::size_t>(dirCount));
    std::uint32_t previousEnd = 0;
    for (std::uint64_t i = 0; i < dirCount; ++i) {
        PackDirNode& node = dirs_[static_cast<std::size_t>(i)];
        node.parent = dirEntries.U32();
        const std::uint32_t rawEnd = dirEntries.U32();
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
    ByteReader entry = FileEntry(static_cast<std::uint64_t>(found - fileNames_.begin()));
    const std::uint32_t dataOffset = entry.U32();
    const std::uint32_t dataSize = entry.U32();
    return record.SetPackEntry(dataSize, dataOffset, number_, 0);
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
            ByteReader entry = FileEntry(i);
            entry.Skip(4);
            listing.push_back({folder + fileNames_[i], entry.U32()});
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
