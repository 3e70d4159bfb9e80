#include "foundation/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "platform/winbase/debug_output.h"
#include "platform/winbase/file_api.h"

namespace {

// 1,021 characters of text, then CR LF and the NUL.
constexpr int kLogBufferSize = 1024;
constexpr int kLogTextLimit = kLogBufferSize - 3;

std::atomic<int> g_logEnabled{1};
std::atomic<int> g_logFileEnabled{1};

// Guards the first-line flag, the path and the file writes.
std::mutex& LogMutex() {
    static std::mutex* mutex = new std::mutex();
    return *mutex;
}
bool g_firstLine = true;
std::string g_logPath;

// Formats the log file's path outside the log lock: the path builder may take FileLock, and a
// thread holding FileLock may be waiting for the log lock.
std::string BuildLogPath() {
    char name[260];
    std::snprintf(name, sizeof(name), "%s.log", kProgramShortName);
    return GetPath(PathKind::Any, name);
}

void WriteToFile(const std::string& path, const std::string& line, bool truncate) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER zero{};
    if (truncate || SetFilePointerEx(file, zero, nullptr, FILE_END)) {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    CloseHandle(file);
}

void FormatAndWrite(const char* format, va_list args) {
    if (g_logEnabled.load() == 0) {
        return;
    }
    char buffer[kLogBufferSize];
    std::vsnprintf(buffer, kLogTextLimit + 1, format, args);
    WriteLogLine(buffer);
}

}  // namespace

void LogPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatAndWrite(format, args);
    va_end(args);
}

void LogPrintf2(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatAndWrite(format, args);
    va_end(args);
}

void WriteLogLine(const char* text) {
    std::string line = text != nullptr ? text : "";
    line += "\r\n";
    OutputDebugStringA(line.c_str());

    std::string path;
    {
        std::lock_guard<std::mutex> guard(LogMutex());
        path = g_logPath;
    }
    if (path.empty()) {
        path = BuildLogPath();
    }

    std::lock_guard<std::mutex> guard(LogMutex());
    if (g_logPath.empty()) {
        g_logPath = path;
    }
    if (g_logFileEnabled.load() != 0) {
        WriteToFile(g_logPath, line, g_firstLine);
    }
    g_firstLine = false;
}

void SetLogEnabled(int flag) {
    g_logEnabled.store(flag != 0 ? 1 : 0);
}

int SetLogFileEnabled(int flag) {
    return g_logFileEnabled.exchange(flag != 0 ? 1 : 0);
}

namespace foundation_test {

void ResetLogState() {
    std::lock_guard<std::mutex> guard(LogMutex());
    g_logPath.clear();
    g_firstLine = true;
    g_logEnabled.store(1);
    g_logFileEnabled.store(1);
}

}  // namespace foundation_test
