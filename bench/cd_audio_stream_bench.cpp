// CD audio from a disc image: reading the sectors through libcdio, streaming them through the
// two-second ring and mixing them, in seconds of audio per second of run time.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "disc_image/disc_image_writer.h"
#include "platform/dsound/dsound_test.h"
#include "platform/mci/mci.h"
#include "platform/mci/mci_test.h"
#include "platform/win32/message_api.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr int kTrackSeconds = 5;
constexpr int kStepsPerSecond = 10;
constexpr std::uint32_t kStepFrames = 4410;

// Drive D: holding a disc of two tone tracks of five seconds, in a folder of its own.
class ToneDisc {
public:
    ToneDisc() {
        char pattern[] = "/tmp/qvn-cd-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            return;
        }
        folder_ = pattern;
        qvn_disc::DiscImage image =
            qvn_disc::BuildDiscImage({{qvn_disc::ToneSamples(kTrackSeconds, 440.0, 8000)},
                                      {qvn_disc::ToneSamples(kTrackSeconds, 660.0, 8000)}},
                                     "tones.bin");
        std::ofstream(folder_ + "/tones.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(image.bin.data()),
                   static_cast<std::streamsize>(image.bin.size()));
        std::ofstream(folder_ + "/tones.cue") << image.cue;
        mci_test::MapDriveImage('D', folder_ + "/tones.cue");
    }
    ~ToneDisc() {
        mci_test::UseDiscImages(false);
        if (!folder_.empty()) {
            std::filesystem::remove_all(folder_);
        }
    }

private:
    std::string folder_;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// Each iteration plays track 1 from its start to the start of track 2 in steps of 100 ms, as
// the music window's timer would.
void BM_CdAudioStream(benchmark::State& state) {
    win32_test::UseManualClock(true);
    dsound_test::UseNullDevice(true);
    ToneDisc disc;
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    open.lpstrElementName = "d:\\";
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0 ||
        mciSendCommandA(open.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT,
                        reinterpret_cast<DWORD_PTR>(&set)) != 0) {
        state.SkipWithError("the disc image does not open");
    } else {
        MCI_PLAY_PARMS play{};
        play.dwFrom = MCI_MAKE_TMSF(1, 0, 0, 0);
        play.dwTo = MCI_MAKE_TMSF(2, 0, 0, 0);
        for (auto _ : state) {
            mciSendCommandA(open.wDeviceID, MCI_PLAY, MCI_FROM | MCI_TO,
                            reinterpret_cast<DWORD_PTR>(&play));
            for (int step = 0; step < kTrackSeconds * kStepsPerSecond; ++step) {
                std::vector<std::int16_t> mixed = mci_test::MixCdFrames('D', kStepFrames);
                benchmark::DoNotOptimize(mixed.data());
                win32_test::AdvanceClockMicroseconds(100000);
                PumpMessages();
            }
        }
        state.counters["items_per_second"] = benchmark::Counter(
            static_cast<double>(state.iterations()) * kTrackSeconds, benchmark::Counter::kIsRate);
        mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, 0);
    }
    dsound_test::UseNullDevice(false);
    win32_test::UseManualClock(false);
}
BENCHMARK(BM_CdAudioStream)->Unit(benchmark::kMillisecond);

}  // namespace
