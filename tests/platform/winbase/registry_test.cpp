#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/file_api.h"
#include "platform/winbase/registry.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace {

using qvn::test::TempProgramDir;

constexpr char kMainKey[] = "Software\\Velkaro\\qvn\\main";

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { win32_test::FailWritesAfter(-1); }

    std::string folder() const { return dir.configHome() + "/Velkaro/qvn"; }
    std::string settingsPath() const { return folder() + "/settings.txt"; }
    std::string settingsText() const {
        std::ifstream in(settingsPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void writeSettings(const std::string& text) const {
        std::ofstream(settingsPath(), std::ios::binary | std::ios::trunc) << text;
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(folder().c_str())) {
            while (dirent* e = readdir(d)) {
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                    names.emplace_back(e->d_name);
                }
            }
            closedir(d);
        }
        return names;
    }

    LSTATUS writeValue(const char* key, const char* name, DWORD type, const void* data,
                       DWORD size) {
        HKEY handle = nullptr;
        LSTATUS status =
            RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &handle, nullptr);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(handle);
        return status;
    }
    void writeDword(const char* key, const char* name, DWORD value) {
        ASSERT_EQ(writeValue(key, name, REG_DWORD, &value, 4), ERROR_SUCCESS);
    }
    // Opens the key afresh (as every read of the settings layer does) and queries the value.
    LSTATUS readValue(const char* key, const char* name, DWORD* type, void* data, DWORD* size) {
        HKEY handle = nullptr;
        LSTATUS status = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &handle);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = RegQueryValueExA(handle, name, nullptr, type, static_cast<BYTE*>(data), size);
        RegCloseKey(handle);
        return status;
    }
    DWORD readDword(const char* key, const char* name) {
        DWORD value = 0xDEADBEEF;
        DWORD size = 4;
        EXPECT_EQ(readValue(key, name, nullptr, &value, &size), ERROR_SUCCESS) << name;
        return value;
    }

    TempProgramDir dir;
};

TEST_F(RegistryTest, ValuesSurviveARestartInEveryType) {
    const BYTE rect[16] = {1, 0, 0, 0, 2, 0, 0, 0, 0x20, 3, 0, 0, 0x58, 2, 0, 0};
    const char title[] = "\x83\x5A\x81\x5B\x83\x75 \\ \"quoted\"\n]";  // Shift-JIS and escapes
    const BYTE multi[] = {'a', 0, 'b', 0, 0};
    writeDword(kMainKey, "SoundVolume", 10000);
    ASSERT_EQ(writeValue(kMainKey, "WindowRect", REG_BINARY, rect, 16), ERROR_SUCCESS);
    ASSERT_EQ(writeValue("Software\\Velkaro\\qvn\\Main", "Title", REG_SZ, title, sizeof title),
              ERROR_SUCCESS);
    ASSERT_EQ(writeValue(kMainKey, "List", REG_MULTI_SZ, multi, sizeof multi), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(kMainKey, "Empty", REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(kMainKey, "Odd", REG_DWORD, "\x01\x02", 2), ERROR_SUCCESS);

    win32_test::ForgetSettingsStore();

    EXPECT_EQ(readDword(kMainKey, "soundvolume"), 10000u);
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"WindowRect", REG_BINARY, std::string(reinterpret_cast<const char*>(rect), 16)},
        {"Title", REG_SZ, std::string(title, sizeof title)},
        {"List", REG_MULTI_SZ, std::string(reinterpret_cast<const char*>(multi), sizeof multi)},
        {"Empty", REG_BINARY, ""},
        {"Odd", REG_DWORD, "\x01\x02"},
    };
    for (const Case& c : cases) {
        char buffer[64];
        DWORD size = sizeof buffer;
        DWORD type = 99;
        ASSERT_EQ(readValue(kMainKey, c.name, &type, buffer, &size), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(std::string(buffer, size), c.bytes) << c.name;
    }
    // The file is meant to be read by people too.
    std::string text = settingsText();
    EXPECT_NE(text.find("[Software\\Velkaro\\qvn\\main]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"SoundVolume\"=dword:00002710\n"), std::string::npos) << text;
}

TEST_F(RegistryTest, KeysAndNamesIgnoreCaseAndKeepTheFirstSpelling) {
    writeDword("Software\\Velkaro\\qvn\\Main", "Flag", 1);
    writeDword(kMainKey, "FLAG", 2);
    EXPECT_EQ(readDword(kMainKey, "flag"), 2u);
    EXPECT_EQ(readDword("SOFTWARE\\velkaro\\QVN\\MAIN", "Flag"), 2u);
    std::string text = settingsText();
    EXPECT_NE(text.find("[Software\\Velkaro\\qvn\\Main]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Flag\"=dword:00000002"), std::string::npos) << text;
    EXPECT_EQ(text.find("main]"), std::string::npos) << text;
    EXPECT_EQ(text.find("FLAG"), std::string::npos) << text;
}

TEST_F(RegistryTest, QueryContract) {
    writeDword(kMainKey, "Volume", 1234);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kMainKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Volume", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);

    BYTE small[3] = {7, 7, 7};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "Volume", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(small[0], 7);
    EXPECT_EQ(small[2], 7);

    DWORD value = 0;
    size = 4;
    EXPECT_EQ(
        RegQueryValueExA(key, "missing", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(
        RegQueryValueExA(key, "Volume", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "Volume", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);

    // Access rights of the handle are honoured.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kMainKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Volume", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, MissingKeysAreNotCreatedByOpening) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velkaro\\qvn\\voice", 0, KEY_ALL_ACCESS, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_TRUE(folderEntries().empty());

    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velkaro\\qvn\\voice", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velkaro\\qvn\\Voice", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    // A key above a created one exists too, and sub keys open relative to it.
    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velkaro", 0, KEY_READ, &parent),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(parent, "qvn\\voice", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, AnInterruptedWriteLeavesTheOldFileWhole) {
    writeDword(kMainKey, "SafetyQuit", 1);
    writeDword(kMainKey, "MusicVolume", 5000);
    const std::string before = settingsText();
    ASSERT_FALSE(before.empty());

    // The new text has the old one's length: fail its write after every possible byte count.
    for (std::int64_t allowed = 0; allowed < static_cast<std::int64_t>(before.size());
         allowed += 3) {
        win32_test::FailWritesAfter(allowed);
        DWORD value = 0;
        LSTATUS status = writeValue(kMainKey, "SafetyQuit", REG_DWORD, &value, 4);
        win32_test::FailWritesAfter(-1);
        ASSERT_EQ(status, static_cast<LSTATUS>(ERROR_DISK_FULL)) << allowed;
        ASSERT_EQ(settingsText(), before) << allowed;
        std::vector<std::string> entries = folderEntries();
        std::sort(entries.begin(), entries.end());
        ASSERT_EQ(entries, (std::vector<std::string>{"settings.lock", "settings.txt"})) << allowed;
        ASSERT_EQ(readDword(kMainKey, "SafetyQuit"), 1u) << allowed;
    }
    writeDword(kMainKey, "SafetyQuit", 0);
    EXPECT_EQ(readDword(kMainKey, "SafetyQuit"), 0u);
    EXPECT_EQ(readDword(kMainKey, "MusicVolume"), 5000u);
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeenAndKept) {
    writeDword(kMainKey, "Mine", 1);
    // Another process adds a value behind our back.
    writeSettings(settingsText() + "\"Theirs\"=dword:00000002\n");
    EXPECT_EQ(readDword(kMainKey, "Theirs"), 2u);
    writeDword(kMainKey, "Mine", 3);
    win32_test::ForgetSettingsStore();
    EXPECT_EQ(readDword(kMainKey, "Theirs"), 2u);
    EXPECT_EQ(readDword(kMainKey, "Mine"), 3u);
}

TEST_F(RegistryTest, DamagedLinesAreSkippedAndTheRestKept) {
    ::mkdir((dir.configHome() + "/Velkaro").c_str(), 0700);
    ::mkdir(folder().c_str(), 0700);
    writeSettings(
        "; comment\r\n"
        "[Software\\Velkaro\\qvn\\main]\r\n"
        "\"Good\"=dword:0000000a\r\n"
        "\"Bad\"=dword:0000\r\n"
        "garbage line\r\n"
        "\"Truncated\"=hex:01,0");
    testing::internal::CaptureStderr();
    EXPECT_EQ(readDword(kMainKey, "Good"), 10u);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("skipped 3 damaged line(s)"), std::string::npos) << log;
    EXPECT_NE(log.find("first at line 4"), std::string::npos) << log;
    DWORD size = 4;
    DWORD value = 0;
    EXPECT_EQ(readValue(kMainKey, "Bad", nullptr, &value, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(readValue(kMainKey, "Truncated", nullptr, &value, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    ::mkdir((dir.configHome() + "/Velkaro").c_str(), 0700);
    ::mkdir(folder().c_str(), 0700);
    ::mkdir(settingsPath().c_str(), 0700);  // a folder where the file should be: reads fail
    DWORD value = 1;
    EXPECT_NE(writeValue(kMainKey, "X", REG_DWORD, &value, 4), ERROR_SUCCESS);
    DWORD size = 4;
    EXPECT_EQ(readValue(kMainKey, "X", nullptr, &value, &size), ERROR_FILE_NOT_FOUND);
    struct stat info;
    ASSERT_EQ(stat(settingsPath().c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST_F(RegistryTest, DefaultsToTheUsersConfigFolder) {
    std::string home = dir.path() + "/home";
    ::mkdir(home.c_str(), 0700);
    std::string oldHome = getenv("HOME") != nullptr ? getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    writeDword(kMainKey, "X", 1);
    std::ifstream in(home + "/.config/Velkaro/qvn/settings.txt");
    EXPECT_TRUE(in.good());
    setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
