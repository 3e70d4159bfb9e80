#pragma once
// One "PAK0" pack archive: a directory tree and a table of stored files, found by the relative
// path a file would have on disk (script\start.scr) and stored raw.
//
// Layout (u32 little-endian, offsets from the start of the file):
//   0 "PAK0", 4 header size H, 8 directory count D, 12 file count F,
//   16 D directory entries {parent (0xFFFFFFFF for the root), file end},
//   16 + 8D F file entries {data offset, data size, two unused words},
//   16 + 8D + 16F name pool up to H: the names of directories 1..D-1, then of the F files,
//   each a length byte L and L bytes (L = 0: the name runs to the next NUL, which belongs to
//   it). One byte must follow the last name inside the header.
// The files of directory i are the entries [file end of i-1 (0 for the root), file end of i),
// where 0 as a non-root file end means F; they are sorted by CompareNoCase.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/byte_reader.h"
#include "foundation/file_info.h"

class PackSet;

constexpr std::uint32_t kPackMagic = 0x304B4150;  // "PAK0"
constexpr std::uint32_t kPackRootParent = 0xFFFFFFFFu;
constexpr std::uint32_t kPackHeaderFixedSize = 16;
constexpr std::uint32_t kPackDirEntrySize = 8;
constexpr std::uint32_t kPackFileEntrySize = 16;

class PackDirNode {
public:
    PackDirNode() = default;
    virtual ~PackDirNode() = default;
    PackDirNode(const PackDirNode&) = default;
    PackDirNode& operator=(const PackDirNode&) = default;

    // Children order: CompareNoCase of the names.
    static bool LessByName(const PackDirNode* a, const PackDirNode* b);
    // A child is below a path component when its name, compared over the component's length,
    // is below it.
    static bool LessThanComponent(const PackDirNode* child, const char* component,
                                  std::size_t length);

    const char* name = nullptr;  // into the header block; null for the root
    std::uint32_t parent = kPackRootParent;
    std::uint32_t firstFile = 0;
    std::uint32_t endFile = 0;
    std::vector<PackDirNode*> children;
};

class PackFile {
public:
    explicit PackFile(PackSet* owner = nullptr) : owner_(owner) {}
    virtual ~PackFile() = default;
    PackFile(const PackFile&) = delete;
    PackFile& operator=(const PackFile&) = delete;

    // Opens archive `path` as number `number` and checks its header; *code is 0 on success or
    // the reason of the failure. A failed open leaves the archive closed.
    bool Open(const char* path, std::int32_t number, DWORD* code);
    // Looks `name` (relative, backslash-separated) up below `node` (the root when null); when
    // found, locates `record` as this archive's entry.
    bool Find(FileInfo& record, const char* name, const PackDirNode* node = nullptr) const;
    void Close();

    // Every stored file in entry order: its path from the root (backslash-separated) and size.
    struct Listing {
        std::string path;
        std::uint32_t size;
    };
    std::vector<Listing> ListFiles() const;

    std::int32_t number() const { return number_; }
    std::uint32_t dirCount() const { return static_cast<std::uint32_t>(dirs_.size()); }
    std::uint32_t fileCount() const { return static_cast<std::uint32_t>(fileNames_.size()); }
    PackSet* owner() const { return owner_; }

private:
    bool ParseHeader(DWORD* code);
    // The header block, and the 16 bytes of file entry `index` in it.
    ByteReader Header() const;
    ByteReader FileEntry(std::uint64_t index) const;

    PackSet* owner_;
    std::int32_t number_ = -1;
    std::unique_ptr<BYTE[]> block_;
    std::uint64_t headerSize_ = 0;
    std::uint64_t dirEntries_ = 0;   // offset of the directory entries in the block
    std::uint64_t fileEntries_ = 0;  // offset of the file entries in the block
    std::vector<PackDirNode> dirs_;
    std::vector<const char*> fileNames_;
};

// Destroys `pack` and clears the pointer; never throws.
void DeletePackFile(PackFile*& pack);
