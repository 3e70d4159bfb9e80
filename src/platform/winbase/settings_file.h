#pragma once
// Internal: where the settings store lives and how it is read and written safely.

#include <sys/stat.h>

#include <ctime>
#include <optional>
#include <string>

#include "platform/winbase/settings_store_format.h"
#include "platform/winbase/win_types.h"

// $XDG_CONFIG_HOME/Velkaro/qvn/settings.txt; $XDG_CONFIG_HOME (when absolute) else ~/.config.
std::string SettingsFilePath();

// One version of the settings file. The program replaces the file whole by a rename (a new
// inode); a change made in place changes its size or time stamps. Two stamps that compare equal
// name the same contents, so the store need not be read again.
struct SettingsFileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const SettingsFileStamp& other) const;
};
// The stamp of the file as it is now; nullopt when it cannot be examined (other than missing).
std::optional<SettingsFileStamp> StatSettingsFile();

// Reads the file; a missing file is an empty store. Damaged lines are skipped with one line on
// standard error. Returns 0 or the Windows error that kept the file from being read (the store
// is then empty and must not be written over the unread file).
DWORD LoadSettingsFile(SettingsStore* store);

// Holds an exclusive lock on the settings folder's lock file ("settings.lock") for the life of
// the object, so that two processes changing the store one after the other each see the other's
// change instead of writing over it. Creates the folder; without a lock (a file system that has
// none) the change goes ahead unguarded.
class SettingsFileLock {
public:
    SettingsFileLock();
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

private:
    int fd_ = -1;
};

// Writes the store whole to a temporary file in the same folder, flushes it to disk and renames
// it over the old file; the old file stands untouched on any failure. Folders are created as
// needed. Returns 0 or a Windows error.
DWORD SaveSettingsFile(const SettingsStore& store);
