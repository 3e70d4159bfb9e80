// qvn-pak: makes, lists and reads "PAK0" pack archives.
//   qvn-pak create ARCHIVE DIR     packs the folder DIR (UTF-8 names stored as Shift-JIS)
//   qvn-pak list ARCHIVE           one line per file: size, a tab, its path (UTF-8)
//   qvn-pak cat PROGRAM_DIR PATH   the bytes LoadFile gives for PATH (relative to PROGRAM_DIR,
//                                  separated by "\" or "/"), from the disk or the folder's
//                                  archives

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/whole_file.h"
#include "foundation/file.h"
#include "foundation/file_error.h"
#include "foundation/log.h"
#include "foundation/pack_archive.h"
#include "foundation/path.h"
#include "pak/pack_writer.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/program_directory.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qvn-pak create ARCHIVE DIR\n"
                 "       qvn-pak list ARCHIVE\n"
                 "       qvn-pak cat PROGRAM_DIR PATH\n");
    return 2;
}

int Create(const char* archive, const char* folder) {
    std::vector<qvn_pak::PackSourceFile> files;
    qvn_pak::PackWriteOptions options;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, error);
    if (error) {
        std::fprintf(stderr, "qvn-pak: cannot read %s: %s\n", folder, error.message().c_str());
        return 1;
    }
    for (const fs::directory_entry& entry : it) {
        const std::string relative = fs::relative(entry.path(), folder).generic_string();
        std::string stored;
        std::size_t start = 0;
        while (start <= relative.size()) {
            std::size_t slash = relative.find('/', start);
            if (slash == std::string::npos) {
                slash = relative.size();
            }
            const std::string utf8Part = relative.substr(start, slash - start);
            std::optional<std::string> part = Utf8ToCp932(utf8Part);
            if (!part || utf8Part.find('\\') != std::string::npos) {
                std::fprintf(stderr, "qvn-pak: the name %s has no Shift-JIS form\n",
                             relative.c_str());
                return 1;
            }
            stored += (stored.empty() ? "" : "\\") + *part;
            start = slash + 1;
        }
        if (entry.is_directory()) {
            options.emptyDirectories.push_back(stored);
        } else if (entry.is_regular_file()) {
            qvn_pak::PackSourceFile file{stored, {}};
            if (!qvn_tools::ReadWholeFile(entry.path(), &file.data)) {
                std::fprintf(stderr, "qvn-pak: cannot read %s\n", entry.path().c_str());
                return 1;
            }
            files.push_back(std::move(file));
        }
    }
    std::string message;
    std::optional<std::vector<std::uint8_t>> bytes =
        qvn_pak::BuildPackArchive(files, options, &message);
    if (!bytes) {
        std::optional<std::string> readable = Cp932ToUtf8(message);
        std::fprintf(stderr, "qvn-pak: %s\n", readable ? readable->c_str() : message.c_str());
        return 1;
    }
    if (!qvn_tools::WriteWholeFile(archive, *bytes)) {
        std::fprintf(stderr, "qvn-pak: cannot write %s\n", archive);
        return 1;
    }
    return 0;
}

// Makes `folder` the program directory, so that Windows-form paths below it name its files;
// false (with a message) when it is no folder.
bool UseProgramDirectory(const fs::path& folder) {
    const std::string absolute = fs::absolute(folder).lexically_normal().string();
    if (!SetProgramDirectory(absolute)) {
        std::fprintf(stderr, "qvn-pak: no such folder: %s\n", absolute.c_str());
        return false;
    }
    return true;
}

int List(const char* archive) {
    const fs::path path = fs::absolute(archive);
    if (!UseProgramDirectory(path.parent_path())) {
        return 1;
    }
    std::optional<std::string> name = Utf8ToCp932(path.filename().string());
    if (!name) {
        std::fprintf(stderr, "qvn-pak: the name %s has no Shift-JIS form\n", archive);
        return 1;
    }
    const std::string windowsPath = std::string(GetProgramDir()) + *name;
    PackFile pack;
    DWORD code = 0;
    if (!pack.Open(windowsPath.c_str(), 0, &code)) {
        std::fprintf(stderr, "qvn-pak: cannot open %s: code:%08x(%d)\n", archive, code,
                     static_cast<int>(code));
        return 1;
    }
    for (const PackFile::Listing& file : pack.ListFiles()) {
        std::optional<std::string> readable = Cp932ToUtf8(file.path);
        std::printf("%u\t%s\n", file.size, readable ? readable->c_str() : file.path.c_str());
    }
    return 0;
}

int Cat(const char* programDir, const char* relative) {
    if (!UseProgramDirectory(programDir)) {
        return 1;
    }
    SetLogFileEnabled(0);
    // "/" as well as "\\": a Shift-JIS trail byte is never "/", so every one is a separator.
    std::string windowsRelative = relative;
    std::replace(windowsRelative.begin(), windowsRelative.end(), '/', '\\');
    const std::string name = std::string(GetProgramDir()) + windowsRelative;
    DWORD size = 0;
    BYTE* data = LoadFile(name.c_str(), &size, 0);
    if (data == nullptr) {
        return 1;
    }
    const bool written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    LocalFree(data);
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "create") == 0) {
        return Create(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
        return List(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "cat") == 0) {
        return Cat(argv[2], argv[3]);
    }
    return Usage();
}
