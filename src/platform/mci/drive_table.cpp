#include "platform/mci/drive_table.h"

#include <cdio/cdio.h>
#include <limits.h>
#include <stdlib.h>

#include <array>
#include <cctype>
#include <mutex>
#include <vector>

#include "platform/mci/cdio_log.h"
#include "platform/mci/logical_drives.h"
#include "platform/mci/mci_test.h"
#include "platform/winbase/cdrom_drives.h"

namespace mci_detail {
namespace {

constexpr char kFirstCdLetter = 'D';
constexpr int kLetters = 26;

struct DriveTable {
    std::mutex mutex;
    bool imagesOnly = false;
    std::array<std::string, kLetters> images;  // by letter, when imagesOnly
};

DriveTable& Table() {
    static DriveTable* table = new DriveTable;
    return *table;
}

}  // namespace

char DriveLetterOfRoot(const char* root) {
    if (root == nullptr || std::isalpha(static_cast<unsigned char>(root[0])) == 0 ||
        root[1] != ':') {
        return 0;
    }
    if (root[2] != '\0' && !(root[2] == '\\' && root[3] == '\0')) {
        return 0;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
}

std::optional<DriveSource> FindCdDrive(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (letter < kFirstCdLetter || letter > 'Z') {
        return std::nullopt;
    }
    DriveTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.imagesOnly) {
        const std::string& image = table.images[static_cast<std::size_t>(letter - 'A')];
        if (image.empty()) {
            return std::nullopt;
        }
        return DriveSource{image, true};
    }
    InstallCdioLogHandler();
    const std::vector<std::string> machineDrives = FindCdRomDrives();
    auto index = static_cast<std::size_t>(letter - kFirstCdLetter);
    if (index >= machineDrives.size()) {
        return std::nullopt;
    }
    return DriveSource{machineDrives[index], false};
}

}  // namespace mci_detail

DWORD GetLogicalDrives() {
    DWORD drives = 1u << ('C' - 'A');
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        if (mci_detail::FindCdDrive(letter)) {
            drives |= 1u << (letter - 'A');
        }
    }
    return drives;
}

UINT GetDriveTypeA(LPCSTR rootPath) {
    char letter = rootPath == nullptr ? 'C' : mci_detail::DriveLetterOfRoot(rootPath);
    if (letter == 'C') {
        return DRIVE_FIXED;
    }
    if (letter != 0 && mci_detail::FindCdDrive(letter)) {
        return DRIVE_CDROM;
    }
    return DRIVE_NO_ROOT_DIR;
}

namespace mci_test {

void UseDiscImages(bool enabled) {
    mci_detail::DriveTable& table = mci_detail::Table();
    std::lock_guard lock(table.mutex);
    table.imagesOnly = enabled;
    table.images = {};
}

void MapDriveImage(char letter, const std::string& cuePath) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (letter < mci_detail::kFirstCdLetter || letter > 'Z') {
        return;
    }
    mci_detail::DriveTable& table = mci_detail::Table();
    std::lock_guard lock(table.mutex);
    table.imagesOnly = true;
    table.images[static_cast<std::size_t>(letter - 'A')] = cuePath;
}

}  // namespace mci_test
