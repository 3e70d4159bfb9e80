#include "platform/winbase/logical_drives.h"

#include "platform/winbase/cdrom_drives.h"
#include "platform/winbase/drive_letters.h"

namespace {

bool IsCdRomDrive(char letter) {
    return letter >= kFirstCdRomDriveLetter && letter <= 'Z' &&
           static_cast<std::size_t>(letter - kFirstCdRomDriveLetter) < FindCdRomDrives().size();
}

}  // namespace

DWORD GetLogicalDrives() {
    DWORD drives = 1u << (kProgramDriveLetter - 'A');
    for (char letter = kFirstCdRomDriveLetter; letter <= 'Z' && IsCdRomDrive(letter); ++letter) {
        drives |= 1u << (letter - 'A');
    }
    return drives;
}

UINT GetDriveTypeA(LPCSTR rootPath) {
    const char letter = DriveLetterOfRoot(rootPath);
    if (letter == kProgramDriveLetter) {
        return DRIVE_FIXED;
    }
    return IsCdRomDrive(letter) ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
}
