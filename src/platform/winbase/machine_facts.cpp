#include "platform/winbase/machine_facts.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/winbase/program_directory.h"
#include "platform/winbase/system_test.h"

namespace winbase_internal {
namespace {

struct FakeState {
    std::mutex mutex;
    std::optional<win32_test::FakeMachine> machine;
};

FakeState& Fake() {
    static FakeState* state = new FakeState;
    return *state;
}

// os-release is a few lines; a larger file is read only so far.
constexpr std::streamsize kMaxOsReleaseBytes = 64 * 1024;

std::optional<std::string> ReadTextFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(kMaxOsReleaseBytes), '\0');
    in.read(text.data(), kMaxOsReleaseBytes);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

}  // namespace

std::optional<win32_test::FakeMachine> FakeMachine() {
    FakeState& state = Fake();
    std::lock_guard lock(state.mutex);
    return state.machine;
}

std::string KernelRelease() {
    if (const auto fake = FakeMachine()) {
        return fake->kernelRelease;
    }
    utsname names{};
    if (uname(&names) != 0) {
        return {};
    }
    return names.release;
}

std::optional<std::string> OsReleaseText() {
    if (const auto fake = FakeMachine()) {
        return fake->osRelease;
    }
    if (auto text = ReadTextFile("/etc/os-release")) {
        return text;
    }
    return ReadTextFile("/usr/lib/os-release");
}

std::string MessagesLocale() {
    if (const auto fake = FakeMachine()) {
        return fake->locale;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

std::uint64_t PhysicalMemoryBytes() {
    if (const auto fake = FakeMachine()) {
        return fake->physicalMemoryBytes;
    }
    struct sysinfo facts {};
    if (sysinfo(&facts) != 0) {
        return 0;
    }
    const unsigned unit = facts.mem_unit == 0 ? 1u : facts.mem_unit;
    return static_cast<std::uint64_t>(facts.totalram) * unit;
}

std::optional<DriveSpace> ProgramDriveSpace() {
    if (const auto fake = FakeMachine()) {
        if (!fake->programDriveReadable) {
            return std::nullopt;
        }
        return DriveSpace{fake->programDriveTotalBytes, fake->programDriveFreeBytes,
                          fake->programDriveAvailableBytes};
    }
    struct statvfs facts {};
    if (statvfs(ProgramDirectoryLinux().c_str(), &facts) != 0) {
        return std::nullopt;
    }
    const std::uint64_t unit = facts.f_frsize != 0 ? facts.f_frsize : facts.f_bsize;
    return DriveSpace{static_cast<std::uint64_t>(facts.f_blocks) * unit,
                      static_cast<std::uint64_t>(facts.f_bfree) * unit,
                      static_cast<std::uint64_t>(facts.f_bavail) * unit};
}

}  // namespace winbase_internal

namespace win32_test {

void UseFakeMachine(const FakeMachine& machine) {
    winbase_internal::FakeState& state = winbase_internal::Fake();
    std::lock_guard lock(state.mutex);
    state.machine = machine;
}

void UseRealMachine() {
    winbase_internal::FakeState& state = winbase_internal::Fake();
    std::lock_guard lock(state.mutex);
    state.machine.reset();
}

}  // namespace win32_test
