#pragma once
// Writes "PAK0" pack archives in the layout the pack reader expects (see
// foundation/pack_archive.h): directories and files sorted by CompareNoCase, data stored raw.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvn_pak {

struct PackSourceFile {
    std::string path;  // relative, Shift-JIS, backslash-separated: "script\start.scr"
    std::vector<std::uint8_t> data;
};

enum class NameForm {
    LengthPrefixed,  // a length byte and the name (names over 255 bytes use the NUL form)
    NulTerminated,   // a zero length byte and the name up to its NUL
    Alternating,     // the two forms in turn, starting with the length byte
};

struct PackWriteOptions {
    NameForm nameForm = NameForm::LengthPrefixed;
    // Further directories to store even when they hold no file (relative, backslash-separated).
    std::vector<std::string> emptyDirectories;
};

// The archive's bytes, or std::nullopt with `error` set: an empty or malformed path, two names
// of one folder that compare equal, or data beyond 4 GiB.
std::optional<std::vector<std::uint8_t>> BuildPackArchive(const std::vector<PackSourceFile>& files,
                                                          const PackWriteOptions& options,
                                                          std::string* error);

}  // namespace qvn_pak
