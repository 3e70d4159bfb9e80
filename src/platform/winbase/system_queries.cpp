#include "platform/winbase/system_queries.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/machine_facts.h"

namespace {

// The first three numbers of a kernel release ("6.1.0-18-amd64"), 0 where missing; each
// saturates at the largest DWORD.
void ParseKernelRelease(std::string_view release, DWORD numbers[3]) {
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        numbers[i] = 0;
        if (at >= release.size() || release[at] < '0' || release[at] > '9') {
            continue;
        }
        std::uint64_t value = 0;
        while (at < release.size() && release[at] >= '0' && release[at] <= '9') {
            value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(release[at] - '0'),
                                            std::numeric_limits<DWORD>::max());
            ++at;
        }
        numbers[i] = static_cast<DWORD>(value);
        if (at < release.size() && release[at] == '.') {
            ++at;
        } else {
            at = release.size();
        }
    }
}

// One value of os-release: a quoted value loses its quotes, and inside double quotes a
// backslash escapes the next character.
std::string OsReleaseValue(std::string_view raw) {
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\r')) {
        raw.remove_suffix(1);
    }
    if (raw.empty() || (raw.front() != '"' && raw.front() != '\'')) {
        return std::string(raw);
    }
    const char quote = raw.front();
    std::string value;
    for (std::size_t i = 1; i < raw.size() && raw[i] != quote; ++i) {
        if (quote == '"' && raw[i] == '\\' && i + 1 < raw.size()) {
            ++i;
        }
        value += raw[i];
    }
    return value;
}

// PRETTY_NAME, else NAME and VERSION, else "Linux" (the defaults of the os-release format).
std::string DistributionName(std::string_view text) {
    std::string pretty;
    std::string name;
    std::string version;
    bool hasPretty = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const std::string value = OsReleaseValue(line.substr(equals + 1));
        if (key == "PRETTY_NAME") {
            pretty = value;
            hasPretty = true;
        } else if (key == "NAME") {
            name = value;
        } else if (key == "VERSION") {
            version = value;
        }
    }
    if (hasPretty && !pretty.empty()) {
        return pretty;
    }
    if (name.empty()) {
        name = "Linux";
    }
    return version.empty() ? name : name + " " + version;
}

// UTF-8 text in code page 932; a text that does not convert keeps its ASCII, with '?' for
// every other byte.
std::string InCodePage932(const std::string& utf8) {
    if (auto converted = Utf8ToCp932(utf8)) {
        return *converted;
    }
    std::string text = utf8;
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; },
        '?');
    return text;
}

// The nice value of each level of Windows' thread priorities.
struct PriorityLevel {
    int priority;
    int nice;
};
constexpr PriorityLevel kPriorityLevels[] = {
    {-15, 19},  // idle
    {-2, 10},   // lowest
    {-1, 5},    // below normal
    {THREAD_PRIORITY_NORMAL, 0},
    {1, -5},   // above normal
    {2, -10},  // highest
    {THREAD_PRIORITY_TIME_CRITICAL, -20},
};

thread_local int threadPriority = THREAD_PRIORITY_NORMAL;

HANDLE CurrentThreadPseudoHandle() {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));
}

}  // namespace

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    DWORD numbers[3];
    ParseKernelRelease(winbase_internal::KernelRelease(), numbers);
    info->dwMajorVersion = numbers[0];
    info->dwMinorVersion = numbers[1];
    info->dwBuildNumber = numbers[2];
    info->dwPlatformId = VER_PLATFORM_LINUX;
    const std::optional<std::string> osRelease = winbase_internal::OsReleaseText();
    const std::string distribution =
        osRelease ? InCodePage932(DistributionName(*osRelease)) : std::string();
    CopyCp932Prefix(distribution, info->szCSDVersion, sizeof info->szCSDVersion);
    return TRUE;
}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
    if (status == nullptr) {
        return;
    }
    status->dwLength = sizeof(MEMORYSTATUS);
    status->dwTotalPhys = static_cast<DWORD>(std::min<std::uint64_t>(
        winbase_internal::PhysicalMemoryBytes(), std::numeric_limits<DWORD>::max()));
}

HANDLE GetCurrentThread() {
    return CurrentThreadPseudoHandle();
}

int GetThreadPriority(HANDLE thread) {
    if (thread != CurrentThreadPseudoHandle()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    return threadPriority;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (thread != CurrentThreadPseudoHandle()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto level =
        std::find_if(std::begin(kPriorityLevels), std::end(kPriorityLevels),
                     [priority](const PriorityLevel& l) { return l.priority == priority; });
    if (level == std::end(kPriorityLevels)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), level->nice) != 0) {
        SetLastError(errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED
                                                       : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    threadPriority = priority;
    return TRUE;
}
