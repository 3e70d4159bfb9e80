#pragma once
// Test-only controls of the Windows layer. The program itself never calls these.

#include <cstdint>
#include <string>

namespace win32_test {

// Sets the program directory (a Linux directory path); GetModuleFileNameA then answers a file
// in it, in Windows form. An empty path returns to the executable's own folder.
void SetProgramDirectory(const std::string& linuxDir);

// A private program directory for this process, "/tmp/qvn-NAME-XXXXXX": made on the first
// call (aborting when it cannot be), set as the program directory on every call, and removed
// with everything in it when the process exits normally. Later calls keep the first name. A
// forked child that ends with _exit leaves it to its parent.
const std::string& UsePrivateProgramDirectory(const std::string& name);

// Switches the performance counter, timeGetTime and Sleep to a manual clock at time 0 that only
// AdvanceClock moves; false returns to the real clock.
void UseManualClock(bool manual);
void AdvanceClockMicroseconds(std::uint64_t microseconds);
// Blocks until `count` threads are waiting in Sleep on the manual clock (a handshake, so that a
// test advances the clock only when a sleeping thread is really asleep).
void WaitForSleepers(int count);

// After `bytes` more bytes, every write of the layer (WriteFile, the settings store) fails as on
// a full disk (ERROR_DISK_FULL), having written only what fitted. Negative: no limit (the
// default).
void FailWritesAfter(std::int64_t bytes);
// The bytes every read of the layer (ReadFile) has taken from files since the process started,
// so that a test can tell how much of a file was read.
std::uint64_t BytesRead();
// On: FlushFileBuffers and the folder flush of MoveFileExA return at once without asking the
// disk (for measuring what a save costs besides the flush). Off (the default): they flush.
void SkipFlushes(bool skip);

// On: the wall clock stands at `unixSeconds` and the local zone lies `utcOffsetSeconds` east of
// UTC (GetLocalTime, FileTimeToLocalFileTime); off: the real clock and the process's zone.
void FixWallClock(bool fixed, std::int64_t unixSeconds = 0, std::int32_t utcOffsetSeconds = 0);

// Drops the settings store's in-memory state, as a new process would start; the next call
// reads the file again.
void ForgetSettingsStore();

}  // namespace win32_test
