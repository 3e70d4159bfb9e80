// Sound loading through the multimedia layer, in seconds of audio per second of run time: an
// MPEG voice decoded whole by LoadWaveData, and the start of background music (its header,
// then a stream sound holding the first 128 KiB of the file).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "foundation/path.h"
#include "media/music/pcm_music_stream.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "media/sound/wave_data.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"

namespace {

// A program directory with the voice fixture and a 10-second music file.
const std::string& ProgramDir() {
    static const std::string dir = [] {
        const std::string pattern = win32_test::UsePrivateProgramDirectory("audio-bench");
        SetLogEnabled(0);
        std::ifstream in(std::string(QVN_FIXTURE_DIR) + "/sound/tone_stereo_44k.mp3",
                         std::ios::binary);
        std::vector<char> mp3((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(pattern + "/voice.mp3", std::ios::binary)
            .write(mp3.data(), static_cast<std::streamsize>(mp3.size()));
        std::vector<char> wave(44 + 44100 * 4 * 10, 1);
        const unsigned char header[44] = {
            'R', 'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A',  'V',  'E',  'f',  'm',  't',
            ' ', 16,  0,   0,   0,  1, 0,   2,   0,   0x44, 0xAC, 0,    0,    0x10, 0xB1,
            2,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a',  0x40, 0xEB, 0x1A, 0};
        std::copy(header, header + 44, wave.begin());
        std::ofstream(pattern + "/music.wav", std::ios::binary)
            .write(wave.data(), static_cast<std::streamsize>(wave.size()));
        return pattern;
    }();
    return dir;
}

std::string GamePath(const char* file) {
    ProgramDir();
    return std::string(GetProgramDir()) + file;
}

void BM_DecodeVoice(benchmark::State& state) {
    const std::string path = GamePath("voice.mp3");
    double seconds = 0.0;
    for (auto _ : state) {
        PCMWAVEFORMAT format{};
        BYTE* data = nullptr;
        DWORD size = LoadWaveData(path.c_str(), &format, &data, 0);
        benchmark::DoNotOptimize(data);
        LocalFree(data);
        seconds = static_cast<double>(size) / format.wf.nAvgBytesPerSec;
    }
    state.counters["audio_seconds_per_second"] = benchmark::Counter(
        seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeVoice);

void BM_StartMusic(benchmark::State& state) {
    const std::string path = GamePath("music.wav");
    dsound_test::UseNullDevice(true);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "AudioBench";
    RegisterClassExA(&windowClass);
    HWND window =
        CreateWindowExA(0, "AudioBench", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (FAILED(CreateDirectSound(window, nullptr))) {
        state.SkipWithError("no sound device");
        return;
    }
    for (auto _ : state) {
        DWORD size = LoadWaveData(path.c_str(), nullptr, nullptr, 0);
        DSSound* sound = nullptr;
        CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, std::min(size, kMusicRingBytes));
        benchmark::DoNotOptimize(sound);
        sound->Release();
    }
    state.counters["ring_seconds_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kMusicRingBytes / 176400.0,
                           benchmark::Counter::kIsRate);
    DestroyDirectSound();
    DestroyWindow(window);
}
BENCHMARK(BM_StartMusic);

}  // namespace
