#pragma once
// Shared by the sound and music tests: wave files made in memory, a game window for the sound
// timers, a null sound device read back by hand and a manual clock.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/byte_writer.h"
#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace qvn::test {

// A canonical 44-byte wave header followed by the PCM bytes; `dataSize` overrides the data size
// field when not negative.
inline std::vector<std::uint8_t> WaveFile(const std::vector<std::uint8_t>& pcm, int channels = 2,
                                          int rate = 44100, int bits = 16,
                                          std::int64_t dataSize = -1) {
    const int blockAlign = channels * bits / 8;
    ByteWriter bytes;
    bytes.Bytes("RIFF", 4);
    bytes.U32(static_cast<std::uint32_t>(36 + pcm.size()));
    bytes.Bytes("WAVEfmt ", 8);
    bytes.U32(16);
    bytes.U16(1);
    bytes.U16(static_cast<std::uint16_t>(channels));
    bytes.U32(static_cast<std::uint32_t>(rate));
    bytes.U32(static_cast<std::uint32_t>(rate * blockAlign));
    bytes.U16(static_cast<std::uint16_t>(blockAlign));
    bytes.U16(static_cast<std::uint16_t>(bits));
    bytes.Bytes("data", 4);
    bytes.U32(static_cast<std::uint32_t>(dataSize >= 0 ? dataSize
                                                       : static_cast<std::int64_t>(pcm.size())));
    bytes.Bytes(pcm);
    return bytes.Take();
}

// 16-bit stereo frames whose samples count up from `first` (left) and down (right), so that
// every position of a sound is recognisable.
inline std::vector<std::int16_t> RampSamples(std::size_t frames, int first) {
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[2 * i] = static_cast<std::int16_t>((first + static_cast<int>(i)) % 30000);
        samples[2 * i + 1] = static_cast<std::int16_t>(-((first + static_cast<int>(i)) % 30000));
    }
    return samples;
}

inline std::vector<std::uint8_t> AsBytes(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// The program directory, a manual clock, a hidden game window and a null sound device.
class SoundDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        win32_test::UseManualClock(true);
        dsound_test::UseNullDevice(true);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "SoundTestGame";
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, "SoundTestGame", "game", 0, 0, 0, 800, 600, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(CreateDirectSound(window_, nullptr), S_OK);
    }

    void TearDown() override {
        DestroyDirectSound();
        DestroyWindow(window_);
        UnregisterClassA("SoundTestGame", nullptr);
        dsound_test::UseNullDevice(false);
        win32_test::UseManualClock(false);
    }

    HWND GameWindow() const { return window_; }
    std::string Log() const { return dir_.readFile("qvn.log"); }
    const TempProgramDir& Dir() const { return dir_; }

    // Writes a file under the program directory and returns its path in the game's form.
    std::string WriteSound(const std::string& relative, const std::vector<std::uint8_t>& bytes) {
        dir_.writeFile(relative, bytes);
        std::string windows = relative;
        for (char& c : windows) {
            if (c == '/') {
                c = '\\';
            }
        }
        return std::string(GetProgramDir()) + windows;
    }

    // Advances the clock in `stepMs` steps, dispatching the due window messages after each.
    void RunTimers(int steps, int stepMs) {
        for (int i = 0; i < steps; ++i) {
            win32_test::AdvanceClockMicroseconds(static_cast<std::uint64_t>(stepMs) * 1000);
            PumpMessages();
        }
    }

    static void PumpMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

    static std::vector<std::int16_t> Mix(std::uint32_t frames) {
        return dsound_test::MixFrames(frames);
    }

private:
    TempProgramDir dir_;
    HWND window_ = nullptr;
};

}  // namespace qvn::test
