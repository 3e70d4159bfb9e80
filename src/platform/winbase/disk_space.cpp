#include "platform/winbase/disk_space.h"

#include <cstdint>
#include <optional>

#include "platform/winbase/drive_letters.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/machine_facts.h"

namespace {

void Store(ULARGE_INTEGER* out, std::uint64_t value) {
    if (out != nullptr) {
        out->QuadPart = value;
    }
}

}  // namespace

BOOL GetDiskFreeSpaceExA(LPCSTR rootPath, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
    if (DriveLetterOfRoot(rootPath) != kProgramDriveLetter) {
        SetLastError(ERROR_PATH_NOT_FOUND);
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
