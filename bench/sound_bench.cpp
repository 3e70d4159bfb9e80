// The mixer and MPEG audio decoding, in seconds of audio per second of run time. The
// command-line decoder of the same library, run on the same stream, is the reference for the
// decoder.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/acm/mpeg_audio_decoder.h"
#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_test.h"

namespace {

constexpr DWORD kOutputRate = 44100;

WAVEFORMATEX PcmFormat(WORD channels, WORD bits, DWORD rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.wBitsPerSample = bits;
    return format;
}

// One second of pseudo-random samples, playing looping at `volume`.
IDirectSoundBuffer* MakePlayingBuffer(IDirectSound8* device, WORD channels, WORD bits, DWORD rate,
                                      LONG volume, std::uint32_t seed) {
    WAVEFORMATEX format = PcmFormat(channels, bits, rate);
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLVOLUME;
    description.dwBufferBytes = rate * format.nBlockAlign;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr))) {
        return nullptr;
    }
    void* part = nullptr;
    DWORD bytes = 0;
    if (SUCCEEDED(buffer->Lock(0, 0, &part, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        auto* data = static_cast<BYTE*>(part);
        for (DWORD i = 0; i < bytes; ++i) {
            seed = seed * 1664525u + 1013904223u;
            data[i] = static_cast<BYTE>(seed >> 24);
        }
        buffer->Unlock(part, bytes, nullptr, 0);
    }
    buffer->SetVolume(volume);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    return buffer;
}

// 32 looping buffers mixed into 44.1 kHz stereo: 16 of 44.1 kHz 16-bit stereo, 8 of 22.05 kHz
// 16-bit mono and 8 of 11.025 kHz 8-bit mono (resampled), at several volumes.
void BM_Mix32Buffers(benchmark::State& state) {
    dsound_test::UseNullDevice(true);
    IDirectSound8* device = nullptr;
    if (FAILED(DirectSoundCreate8(nullptr, &device, nullptr))) {
        state.SkipWithError("no null device");
        return;
    }
    device->SetCooperativeLevel(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1)),
                                DSSCL_PRIORITY);
    std::vector<IDirectSoundBuffer*> buffers;
    for (std::uint32_t i = 0; i < 32; ++i) {
        const LONG volume = -static_cast<LONG>(i % 4) * 600;
        if (i < 16) {
            buffers.push_back(MakePlayingBuffer(device, 2, 16, 44100, volume, i));
        } else if (i < 24) {
            buffers.push_back(MakePlayingBuffer(device, 1, 16, 22050, volume, i));
        } else {
            buffers.push_back(MakePlayingBuffer(device, 1, 8, 11025, volume, i));
        }
    }
    constexpr std::uint32_t kFrames = 1024;
    for (auto _ : state) {
        std::vector<std::int16_t> mixed = dsound_test::MixFrames(device, kFrames);
        benchmark::DoNotOptimize(mixed.data());
    }
    state.counters["items_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames / kOutputRate,
                           benchmark::Counter::kIsRate);
    for (IDirectSoundBuffer* buffer : buffers) {
        if (buffer != nullptr) {
            buffer->Release();
        }
    }
    device->Release();
    dsound_test::UseNullDevice(false);
}
BENCHMARK(BM_Mix32Buffers);

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes of the MPEG-1 layer III frame whose header starts `frame`, or 0.
std::size_t Layer3FrameBytes(const BYTE* frame) {
    constexpr int kKbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    constexpr int kRates[4] = {44100, 48000, 32000, 0};
    if (frame[0] != 0xFF || (frame[1] & 0xFE) != 0xFA) {
        return 0;
    }
    const int kbps = kKbps[frame[2] >> 4];
    const int rate = kRates[(frame[2] >> 2) & 3];
    if (kbps == 0 || rate == 0) {
        return 0;
    }
    return static_cast<std::size_t>(144000 * kbps / rate + ((frame[2] >> 1) & 1));
}

// About a minute of 44.1 kHz stereo: the audio frames of the stereo fixture (without its info
// frame, which would make the decoder stop at the fixture's own length) over and over.
struct LongStream {
    std::vector<BYTE> bytes;
    double seconds = 0.0;
    std::string path;

    LongStream() {
        const std::vector<BYTE> fixture =
            ReadFile(std::string(QVN_FIXTURE_DIR) + "/sound/tone_stereo_44k.mp3");
        const std::size_t infoFrame = fixture.size() > 4 ? Layer3FrameBytes(fixture.data()) : 0;
        if (infoFrame == 0 || infoFrame >= fixture.size()) {
            return;
        }
        for (int copy = 0; copy < 150; ++copy) {
            bytes.insert(bytes.end(), fixture.begin() + static_cast<long>(infoFrame),
                         fixture.end());
        }
        const std::optional<DecodedPcm> pcm = DecodeMpegAudio(bytes.data(), bytes.size());
        if (pcm) {
            seconds = static_cast<double>(pcm->data.size()) / pcm->format.nAvgBytesPerSec;
        }
        char name[] = "/tmp/qvn_sound_bench_XXXXXX";
        const int descriptor = mkstemp(name);
        if (descriptor >= 0) {
            const bool written =
                write(descriptor, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            close(descriptor);
            if (written) {
                path = name;
            }
        }
    }
    ~LongStream() {
        if (!path.empty()) {
            unlink(path.c_str());
        }
    }
};

const LongStream& Stream() {
    static const LongStream stream;
    return stream;
}

void BM_Mp3Decode(benchmark::State& state) {
    const LongStream& stream = Stream();
    if (stream.seconds <= 0.0) {
        state.SkipWithError("the stream does not decode");
        return;
    }
    for (auto _ : state) {
        std::optional<DecodedPcm> pcm = DecodeMpegAudio(stream.bytes.data(), stream.bytes.size());
        benchmark::DoNotOptimize(pcm);
    }
    state.counters["items_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * stream.seconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Mp3Decode)->UseRealTime()->Unit(benchmark::kMillisecond);

// The reference: the command-line decoder writing the same stream's PCM to /dev/null.
void BM_Mp3DecodeCommandLine(benchmark::State& state) {
    const LongStream& stream = Stream();
    if (stream.path.empty() || stream.seconds <= 0.0 ||
        std::system("command -v mpg123 > /dev/null 2>&1") != 0) {
        state.SkipWithError("mpg123 or the stream is missing");
        return;
    }
    const std::string command = "mpg123 -s -q " + stream.path + " > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("mpg123 failed");
            break;
        }
    }
    state.counters["items_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * stream.seconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Mp3DecodeCommandLine)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
