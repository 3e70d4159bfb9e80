// GetFileAttributesA through the path translation, in a folder of 2,000 voice files: a name in
// the case stored on disk (one stat per part), a name in another case (a listing scan) and a
// missing name (a listing scan). The reference is a plain stat of the Linux path.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr int kFiles = 2000;

struct VoiceFolder {
    VoiceFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qvn-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        linuxDir = pattern;
        std::filesystem::create_directories(linuxDir + "/voice");
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/voice/v%05d.mp3", i);
            std::ofstream(linuxDir + name) << "x";
        }
        // A folder unchanged for a while, as installed game data is.
        const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}};
        utimensat(AT_FDCWD, (linuxDir + "/voice").c_str(), longAgo, 0);
        win32_test::SetProgramDirectory(linuxDir);
        windows = linuxDir;
        for (char& c : windows) {
            if (c == '/') {
                c = '\\';
            }
        }
        windows += '\\';
    }
    ~VoiceFolder() {
        win32_test::SetProgramDirectory(std::string());
        std::filesystem::remove_all(linuxDir);
    }
    std::string linuxDir;
    std::string windows;
};

VoiceFolder& Folder() {
    static VoiceFolder folder;
    return folder;
}

void BM_PlainStat(benchmark::State& state) {
    std::string path = Folder().linuxDir + "/voice/v01000.mp3";
    for (auto _ : state) {
        struct stat info;
        benchmark::DoNotOptimize(stat(path.c_str(), &info));
    }
}
BENCHMARK(BM_PlainStat);

void BM_ExactCase(benchmark::State& state) {
    std::string path = Folder().windows + "voice\\v01000.mp3";
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetFileAttributesA(path.c_str()));
    }
}
BENCHMARK(BM_ExactCase);

void BM_OtherCase(benchmark::State& state) {
    std::string path = Folder().windows + "VOICE\\V01000.MP3";
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetFileAttributesA(path.c_str()));
    }
}
BENCHMARK(BM_OtherCase);

void BM_Missing(benchmark::State& state) {
    std::string path = Folder().windows + "voice\\none.mp3";
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetFileAttributesA(path.c_str()));
    }
}
BENCHMARK(BM_Missing);

}  // namespace
