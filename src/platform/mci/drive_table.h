#pragma once
// Internal to the CD audio device: what stands behind each CD-ROM drive letter.

#include <optional>
#include <string>

namespace mci_detail {

// A drive of the machine (its device path) or a disc image of a test (its .cue file).
struct DriveSource {
    std::string path;
    bool image = false;
};

// The upper-case letter of a drive root ("d:\" or "D:"), or 0 when `root` is not one.
char DriveLetterOfRoot(const char* root);

// The source of the CD-ROM drive of `letter` (any case); nothing for any other letter.
std::optional<DriveSource> FindCdDrive(char letter);

}  // namespace mci_detail
