#include "platform/winbase/logical_drives.h"

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "platform/winbase/file_api.h"
#include "platform/winbase/machine_facts.h"

namespace {

constexpr char kProgramDrive = 'C';
constexpr char kFirstCdRomDrive = 'D';

// The upper-case letter of "x:" or "x:\", the program's drive for null, 0 for anything else.
char DriveLetterOf(LPCSTR root) {
    if (root == nullptr) {
        return kProgramDrive;
    }
    if (std::isalpha(static_cast<unsigned char>(root[0])) == 0 || root[1] != ':') {
        return 0;
    }
    if (root[2] != '\0' && !(root[2] == '\\' && root[3] == '\0')) {
        return 0;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
}

bool IsCdRomDrive(char letter) {
    if (letter < kFirstCdRomDrive || letter > 'Z') {
        return false;
    }
    const auto index = static_cast<std::size_t>(letter - kFirstCdRomDrive);
    return index < winbase_internal::CdRomDrives().size();
}

void Store(ULARGE_INTEGER* out, std::uint64_t value) {
    if (out != nullptr) {
        out->QuadPart = value;
    }
}

}  // namespace

DWORD GetLogicalDrives() {
    DWORD drives = 1u << (kProgramDrive - 'A');
    const std::size_t cdRomDrives = winbase_internal::CdRomDrives().size();
    for (std::size_t i = 0; i < cdRomDrives && kFirstCdRomDrive + i <= 'Z'; ++i) {
        drives |= 1u << (kFirstCdRomDrive - 'A' + i);
    }
    return drives;
}

UINT GetDriveTypeA(LPCSTR rootPath) {
    const char letter = DriveLetterOf(rootPath);
    if (letter == kProgramDrive) {
        return DRIVE_FIXED;
    }
    return IsCdRomDrive(letter) ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
}

BOOL GetDiskFreeSpaceExA(LPCSTR rootPath, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
    const char letter = DriveLetterOf(rootPath);
    if (letter != kProgramDrive) {
        SetLastError(IsCdRomDrive(letter) ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::optional<winbase_internal::DriveSpace> space = winbase_internal::ProgramDriveSpace();
    if (!space) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Store(freeBytesAvailable, space->availableBytes);
    Store(totalBytes, space->totalBytes);
    Store(totalFreeBytes, space->freeBytes);
    return TRUE;
}
