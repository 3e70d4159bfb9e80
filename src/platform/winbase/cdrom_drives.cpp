#include "platform/winbase/cdrom_drives.h"

#include <cdio/cdio.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>

#include "platform/winbase/drive_letters.h"
#include "platform/winbase/machine_facts.h"

namespace {

constexpr std::size_t kMaxCdRomDrives = 'Z' - kFirstCdRomDriveLetter + 1;

// The device behind a path, so that "/dev/cdrom" and "/dev/sr0" count once.
std::string DeviceIdentity(const char* path) {
    char resolved[PATH_MAX];
    return realpath(path, resolved) != nullptr ? std::string(resolved) : std::string(path);
}

std::vector<std::string> FindMachineCdRomDrives() {
    std::vector<std::string> drives;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (devices == nullptr) {
        return drives;
    }
    std::vector<std::string> identities;
    for (char** device = devices; *device != nullptr && drives.size() < kMaxCdRomDrives; ++device) {
        std::string identity = DeviceIdentity(*device);
        if (std::find(identities.begin(), identities.end(), identity) == identities.end()) {
            identities.push_back(std::move(identity));
            drives.emplace_back(*device);
        }
    }
    cdio_free_device_list(devices);
    return drives;
}

}  // namespace

std::vector<std::string> FindCdRomDrives() {
    if (const auto fake = winbase_internal::FakeMachine()) {
        std::vector<std::string> drives = fake->cdromDrives;
        drives.resize(std::min(drives.size(), kMaxCdRomDrives));
        return drives;
    }
    static const std::vector<std::string> drives = FindMachineCdRomDrives();
    return drives;
}
