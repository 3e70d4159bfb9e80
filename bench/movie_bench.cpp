// The movie layer with the demo's 800 x 600 MPEG-4 movie at 30 frames a second: decoding and
// converting every picture on the calling thread alone (x_real_time: seconds of movie per second
// of run; the target is at least 4), and a movie opened by the first player, played and stepped
// on the manual clock until its first picture shows (the target is at most 50 ms).

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/movie/movie_players.h"
#include "platform/dshow/dshow_test.h"
#include "platform/dshow/movie_source.h"
#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/com_init.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr double kFramesPerSecond = 30.0;

// The demo movie copied into a program directory of the benchmark's own; its game path.
const std::string& MoviePath() {
    static const std::string path = [] {
        const std::string directory = win32_test::UsePrivateProgramDirectory("movie-bench");
        SetLogEnabled(0);
        std::ifstream in(std::string(QVN_DEMO_DIR) + "/movie/opening.avi", std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(directory + "/opening.avi", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return std::string(GetProgramDir()) + "opening.avi";
    }();
    return path;
}

void BM_MovieDecode800x600(benchmark::State& state) {
    int pictures = 0;
    for (auto _ : state) {
        std::unique_ptr<dshow_detail::MovieSource> source;
        if (FAILED(dshow_detail::MovieSource::Open(MoviePath(), &source))) {
            state.SkipWithError("the demo movie does not open");
            return;
        }
        dshow_detail::MoviePicture picture;
        REFERENCE_TIME time = 0;
        REFERENCE_TIME duration = 0;
        int number = 0;
        pictures = 0;
        while (source->NextPicture(&time, &duration, &number) == dshow_detail::DecodeStatus::kOk &&
               source->ConvertPicture(&picture)) {
            benchmark::DoNotOptimize(picture.argb.data());
            ++pictures;
        }
    }
    state.counters["pictures"] = pictures;
    state.counters["x_real_time"] =
        benchmark::Counter(pictures / kFramesPerSecond * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MovieDecode800x600)->Unit(benchmark::kMillisecond);

void BM_MovieOpen(benchmark::State& state) {
    const std::string& path = MoviePath();
    win32_test::UseManualClock(true);
    dsound_test::UseNullDevice(true);
    CoInitialize(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "MovieBench";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "MovieBench", "movie", WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                  nullptr, nullptr, nullptr);
    IDirectSound8* sound = nullptr;
    DirectSoundCreate8(nullptr, &sound, nullptr);
    sound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    DisplaySettings.hDeviceWindow = window;
    for (auto _ : state) {
        if (FAILED(DSMovie9_Open(path.c_str(), nullptr, nullptr)) || FAILED(DSMovie9_Play(0))) {
            state.SkipWithError("the demo movie does not play");
            break;
        }
        while (!dshow_test::LastShown(window).shown) {
            dsound_test::MixFrames(sound, 441);
            win32_test::AdvanceClockMicroseconds(10000);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
            }
        }
        state.PauseTiming();
        DSMovie9_Close();
        state.ResumeTiming();
    }
    DisplaySettings.hDeviceWindow = nullptr;
    sound->Release();
    DestroyWindow(window);
    CoUninitialize();
    dsound_test::UseNullDevice(false);
    win32_test::UseManualClock(false);
}
BENCHMARK(BM_MovieOpen)->Unit(benchmark::kMillisecond);

}  // namespace
