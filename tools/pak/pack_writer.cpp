#include "pak/pack_writer.h"

#include <algorithm>
#include <map>
#include <memory>

#include "foundation/byte_writer.h"
#include "foundation/pack_archive.h"
#include "foundation/text.h"
#include "platform/winbase/code_page.h"

namespace qvn_pak {
namespace {

struct DirTree {
    std::string name;
    DirTree* parent = nullptr;
    std::vector<std::unique_ptr<DirTree>> children;
    std::vector<const PackSourceFile*> files;
    std::uint32_t index = 0;
};

// Splits at backslashes that are not trail bytes; false for an empty part.
bool SplitPath(const std::string& path, std::vector<std::string>* parts) {
    parts->clear();
    std::string current;
    for (const char* p = path.c_str(); *p != '\0';) {
        const char* next = CharNextA(p);
        if (*p == '\\') {
            if (current.empty()) {
                return false;
            }
            parts->push_back(current);
            current.clear();
        } else {
            current.append(p, next);
        }
        p = next;
    }
    if (current.empty()) {
        return false;
    }
    parts->push_back(current);
    return true;
}

DirTree* ChildDir(DirTree* dir, const std::string& name) {
    for (auto& child : dir->children) {
        if (child->name == name) {
            return child.get();
        }
    }
    dir->children.push_back(std::make_unique<DirTree>());
    dir->children.back()->name = name;
    dir->children.back()->parent = dir;
    return dir->children.back().get();
}

// The last part of the file's path (a trail byte 0x5C is no separator).
std::string FileName(const PackSourceFile* file) {
    std::vector<std::string> parts;
    SplitPath(file->path, &parts);
    return parts.empty() ? file->path : parts.back();
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return CompareNoCase(a.c_str(), b.c_str()) < 0;
}

// Sorts the tree and checks that no two names of one folder compare equal.
bool SortTree(DirTree* dir, std::string* error) {
    std::sort(dir->children.begin(), dir->children.end(),
              [](const auto& a, const auto& b) { return LessNoCase(a->name, b->name); });
    std::sort(dir->files.begin(), dir->files.end(), [](const auto* a, const auto* b) {
        return CompareNoCase(FileName(a).c_str(), FileName(b).c_str()) < 0;
    });
    for (std::size_t i = 1; i < dir->children.size(); ++i) {
        if (CompareNoCase(dir->children[i - 1]->name.c_str(), dir->children[i]->name.c_str()) ==
            0) {
            *error = "two folders differ only in letter case: " + dir->children[i]->name;
            return false;
        }
    }
    for (auto& child : dir->children) {
        if (!SortTree(child.get(), error)) {
            return false;
        }
    }
    return true;
}

void Preorder(DirTree* dir, std::vector<DirTree*>* out) {
    out->push_back(dir);
    for (auto& child : dir->children) {
        Preorder(child.get(), out);
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BuildPackArchive(const std::vector<PackSourceFile>& files,
                                                          const PackWriteOptions& options,
                                                          std::string* error) {
    DirTree root;
    std::vector<std::string> parts;
    for (const std::string& folder : options.emptyDirectories) {
        if (!SplitPath(folder, &parts)) {
            *error = "bad folder path: " + folder;
            return std::nullopt;
        }
        DirTree* dir = &root;
        for (const std::string& part : parts) {
            dir = ChildDir(dir, part);
        }
    }
    for (const PackSourceFile& file : files) {
        if (!SplitPath(file.path, &parts)) {
            *error = "bad file path: " + file.path;
            return std::nullopt;
        }
        DirTree* dir = &root;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            dir = ChildDir(dir, parts[i]);
        }
        dir->files.push_back(&file);
    }
    if (!SortTree(&root, error)) {
        return std::nullopt;
    }

    // Entry order: the root, then the folders that hold files, then those that hold none, so
    // that a file-less folder's file end never reads as 0 ("up to the last file").
    std::vector<DirTree*> preorder;
    Preorder(&root, &preorder);
    std::vector<DirTree*> order{&root};
    for (DirTree* dir : preorder) {
        if (dir != &root && !dir->files.empty()) {
            order.push_back(dir);
        }
    }
    for (DirTree* dir : preorder) {
        if (dir != &root && dir->files.empty()) {
            order.push_back(dir);
        }
    }
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i]->index = i;
    }
    std::vector<const PackSourceFile*> fileOrder;
    for (DirTree* dir : order) {
        for (std::size_t i = 1; i < dir->files.size(); ++i) {
            if (CompareNoCase(FileName(dir->files[i - 1]).c_str(),
                              FileName(dir->files[i]).c_str()) == 0) {
                *error = "two files differ only in letter case: " + dir->files[i]->path;
                return std::nullopt;
            }
        }
        fileOrder.insert(fileOrder.end(), dir->files.begin(), dir->files.end());
    }

    ByteWriter pool;
    int nameIndex = 0;
    auto putName = [&](const std::string& name) {
        bool nulForm = options.nameForm == NameForm::NulTerminated ||
                       (options.nameForm == NameForm::Alternating && nameIndex % 2 == 1) ||
                       name.size() > 255;
        ++nameIndex;
        if (nulForm) {
            pool.U8(0);
            pool.TerminatedString(name);
        } else {
            pool.U8(static_cast<std::uint8_t>(name.size()));
            pool.Bytes(name.data(), name.size());
        }
    };
    for (std::size_t i = 1; i < order.size(); ++i) {
        putName(order[i]->name);
    }
    for (const PackSourceFile* file : fileOrder) {
        putName(FileName(file));
    }
    // The byte the reader overwrites with the last name's terminator.
    pool.U8(0);

    const std::uint64_t dirCount = order.size();
    const std::uint64_t fileCount = fileOrder.size();
    const std::uint64_t headerSize = kPackHeaderFixedSize + kPackDirEntrySize * dirCount +
                                     kPackFileEntrySize * fileCount + pool.Size();
    std::uint64_t total = headerSize;
    for (const PackSourceFile* file : fileOrder) {
        total += file->data.size();
    }
    if (total > 0xFFFFFFFFu) {
        *error = "the archive would pass 4 GiB";
        return std::nullopt;
    }

    ByteWriter out;
    out.Reserve(static_cast<std::size_t>(total));
    out.U32(kPackMagic);
    out.U32(static_cast<std::uint32_t>(headerSize));
    out.U32(static_cast<std::uint32_t>(dirCount));
    out.U32(static_cast<std::uint32_t>(fileCount));
    std::uint32_t fileEnd = 0;
    for (DirTree* dir : order) {
        out.U32(dir->parent != nullptr ? dir->parent->index : kPackRootParent);
        fileEnd += static_cast<std::uint32_t>(dir->files.size());
        out.U32(fileEnd);
    }
    std::uint32_t dataOffset = static_cast<std::uint32_t>(headerSize);
    for (const PackSourceFile* file : fileOrder) {
        out.U32(dataOffset);
        out.U32(static_cast<std::uint32_t>(file->data.size()));
        out.Zeros(8);  // two words the reader does not use
        dataOffset += static_cast<std::uint32_t>(file->data.size());
    }
    out.Bytes(pool.Data());
    for (const PackSourceFile* file : fileOrder) {
        out.Bytes(file->data);
    }
    return out.Take();
}

}  // namespace qvn_pak
