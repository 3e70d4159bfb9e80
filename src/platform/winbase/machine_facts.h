#pragma once
// Internal: the facts of the machine as Linux gives them, from the fake machine of a test when
// one is set (system_test.h). The Windows-named queries are built on these.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/winbase/system_test.h"

namespace winbase_internal {

// The fake machine of a test; nothing for the real one.
std::optional<win32_test::FakeMachine> FakeMachine();

// uname's release; empty when unknown.
std::string KernelRelease();
// /etc/os-release, else /usr/lib/os-release; nothing when neither can be read.
std::optional<std::string> OsReleaseText();
// The locale of messages: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
std::string MessagesLocale();
// Installed physical memory in bytes; 0 when unknown.
std::uint64_t PhysicalMemoryBytes();

struct DriveSpace {
    std::uint64_t totalBytes;
    std::uint64_t freeBytes;
    std::uint64_t availableBytes;  // free to an unprivileged user
};
// The file system that holds the program directory; nothing when it cannot be read.
std::optional<DriveSpace> ProgramDriveSpace();

}  // namespace winbase_internal
