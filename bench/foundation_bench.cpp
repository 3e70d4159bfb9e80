// Loading from a pack archive against a plain read() of the same bytes, name lookup in a large
// archive, and reading a large settings store.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/file.h"
#include "foundation/file_info.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation/pack_archive.h"
#include "foundation/path.h"
#include "pak/pack_writer.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/registry.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr std::size_t kEntryBytes = 4 << 20;
constexpr int kFolders = 12;
constexpr int kEntries = 10000;

std::string MakeProgramDir() {
    char pattern[] = "/tmp/qvn-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::abort();
    }
    win32_test::SetProgramDirectory(pattern);
    foundation_test::ResetState();
    SetLogEnabled(0);
    return pattern;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A program directory whose game00.dat holds one 4 MiB entry, and the same bytes as a plain
// file outside it.
struct LoadFixture {
    LoadFixture() {
        dir = MakeProgramDir();
        std::vector<qvn_pak::PackSourceFile> files(1);
        files[0].path = "movie\\big.bin";
        files[0].data.resize(kEntryBytes);
        for (std::size_t i = 0; i < kEntryBytes; ++i) {
            files[0].data[i] = static_cast<std::uint8_t>(i * 31);
        }
        std::string error;
        WriteFile(dir + "/game00.dat", *qvn_pak::BuildPackArchive(files, {}, &error));
        WriteFile(dir + "/plain.bin", files[0].data);
        entry = std::string(GetProgramDir()) + "movie\\big.bin";
    }
    ~LoadFixture() { std::filesystem::remove_all(dir); }
    std::string dir;
    std::string entry;
};

void BM_LoadFilePackEntry(benchmark::State& state) {
    LoadFixture fixture;
    for (auto _ : state) {
        DWORD size = 0;
        BYTE* data = LoadFile(fixture.entry.c_str(), &size, 0);
        if (data == nullptr || size != kEntryBytes) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(data);
        LocalFree(data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kEntryBytes));
}
BENCHMARK(BM_LoadFilePackEntry)->Unit(benchmark::kMicrosecond);

// The reference: open, read() the whole file into a fresh buffer, close.
void BM_PlainRead(benchmark::State& state) {
    LoadFixture fixture;
    const std::string plain = fixture.dir + "/plain.bin";
    for (auto _ : state) {
        const int fd = open(plain.c_str(), O_RDONLY);
        auto* buffer = static_cast<char*>(std::malloc(kEntryBytes + 4));
        std::size_t done = 0;
        while (done < kEntryBytes) {
            const ssize_t got = read(fd, buffer + done, kEntryBytes - done);
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        close(fd);
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kEntryBytes));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);

// 10,000 entries spread over 12 nested folders; each iteration looks one name up.
void BM_PackLookup(benchmark::State& state) {
    const std::string dir = MakeProgramDir();
    std::vector<qvn_pak::PackSourceFile> files;
    std::vector<std::string> names;
    std::string folder;
    for (int f = 0; f < kFolders; ++f) {
        folder += (f == 0 ? "" : "\\") + std::string("Folder") + std::to_string(f);
        for (int i = f; i < kEntries; i += kFolders) {
            const std::string name =
                folder + "\\entry" + std::to_string(i * 7919 % 100000) + ".dat";
            files.push_back({name, {}});
            names.push_back(name);
        }
    }
    std::string error;
    WriteFile(dir + "/game00.dat", *qvn_pak::BuildPackArchive(files, {}, &error));
    PackFile pack;
    DWORD code = 0;
    char path[kPathLength];
    FormatPath(path, PathKind::Pack, 0);
    if (!pack.Open(path, 0, &code)) {
        state.SkipWithError("open failed");
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        FileInfo record;
        const std::string& name = names[next];
        next = (next + 7) % names.size();
        benchmark::DoNotOptimize(pack.Find(record, name.c_str()));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PackLookup);

// A settings file of 50,000 values in one key, read from a cold start: the file is read and
// parsed, and every value is looked up once by a name in another case than it is stored in, as
// the game's settings reads do (each opens the key afresh).
void BM_SettingsStoreLoad50k(benchmark::State& state) {
    constexpr int kValues = 50000;
    char pattern[] = "/tmp/qvn-bench-config-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string configHome = pattern;
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    std::filesystem::create_directories(configHome + "/Velkaro/qvn");
    std::vector<std::string> lookups;
    {
        std::ofstream out(configHome + "/Velkaro/qvn/settings.txt", std::ios::binary);
        out << "[Software\\Velkaro\\qvn\\main]\n";
        for (int i = 0; i < kValues; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "\"Setting%05d\"=dword:%08x\n", i, i);
            out << line;
            std::snprintf(line, sizeof line, "SETTING%05d", (i * 7919) % kValues);
            lookups.emplace_back(line);
        }
    }
    for (auto _ : state) {
        win32_test::ForgetSettingsStore();
        std::uint64_t sum = 0;
        for (const std::string& name : lookups) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velkaro\\qvn\\main", 0, KEY_READ,
                              &key) != ERROR_SUCCESS) {
                state.SkipWithError("no key");
                break;
            }
            DWORD value = 0;
            DWORD size = sizeof value;
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
                state.SkipWithError("value missing");
            }
            sum += value;
            RegCloseKey(key);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kValues);
    std::filesystem::remove_all(configHome);
}
BENCHMARK(BM_SettingsStoreLoad50k)->Unit(benchmark::kMillisecond);

}  // namespace
