#pragma once
// Shared by the movie tests: the movie fixtures and what each frame of them holds, damaged
// copies, and a fixture with a window, a null sound device set up for it, COM and the manual
// clock, on which a movie plays in exact 10 ms steps of sound and time.
//
// tests/fixtures/movie (made by demo/make_movies.py): colours.avi is 160 x 120 at 10 frames a
// second for 1 s, frame n filled with kMovieColours[n] and its sound a square wave of level
// 1000 x (n + 1) while frame n shows; silent.avi has the same pictures and no sound.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/dshow_test.h"
#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/com_init.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace qvn::test {

constexpr std::uint32_t kMovieColours[10] = {
    0xFFDC2828, 0xFF28C828, 0xFF283CDC, 0xFFE6DC28, 0xFF28D2DC,
    0xFFD228D2, 0xFFFAFAFA, 0xFF787878, 0xFFFA8C14, 0xFF141414,
};
constexpr int kMovieFrames = 10;
constexpr int kMovieWidth = 160;
constexpr int kMovieHeight = 120;

inline std::vector<std::uint8_t> ReadMovieFixture(const std::string& name) {
    std::ifstream in(std::string(QVN_FIXTURE_DIR) + "/movie/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The frame of colours.avi whose colour is nearest to `argb` (compression shifts colours a
// little; the fixture's colours lie far apart).
inline int NearestMovieColour(std::uint32_t argb) {
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < kMovieFrames; ++i) {
        int distance = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((argb >> shift) & 0xFF);
            const int b = static_cast<int>((kMovieColours[i] >> shift) & 0xFF);
            distance += (a - b) * (a - b);
        }
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// The largest sample magnitude of a block of mixed samples.
inline int PeakLevel(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (const std::int16_t sample : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

// A copy of `bytes` with `count` bytes from `offset` overwritten by a pattern no stream decodes.
inline std::vector<std::uint8_t> Damaged(std::vector<std::uint8_t> bytes, std::size_t offset,
                                         std::size_t count) {
    for (std::size_t i = offset; i < offset + count && i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 31));
    }
    return bytes;
}

// The offsets of the picture chunks ("00dc") inside the movie list of an AVI file, in order:
// where a test damages the k-th picture.
inline std::vector<std::size_t> PictureChunks(const std::vector<std::uint8_t>& avi) {
    std::vector<std::size_t> chunks;
    const std::string text(avi.begin(), avi.end());
    std::size_t at = text.find("movi");
    if (at == std::string::npos) {
        return chunks;
    }
    for (at += 4; at + 8 <= avi.size();) {
        const std::uint32_t size = avi[at + 4] | avi[at + 5] << 8 | avi[at + 6] << 16 |
                                   static_cast<std::uint32_t>(avi[at + 7]) << 24;
        if (text.compare(at, 4, "00dc") == 0 && size > 0) {
            chunks.push_back(at);
        }
        if (text.compare(at, 4, "idx1") == 0) {
            break;
        }
        at += 8 + size + (size & 1);
    }
    return chunks;
}

class MovieClockTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kFramesPerStep = 441;  // 10 ms at 44,100 Hz

    void SetUp() override {
        win32_test::UseManualClock(true);
        dsound_test::UseNullDevice(true);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "MovieTestWindow";
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, "MovieTestWindow", "movie", WS_VISIBLE, 0, 0, 800, 600,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(DirectSoundCreate8(nullptr, &sound_, nullptr), DS_OK);
        ASSERT_EQ(sound_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
        for (const char* name : {"colours.avi", "silent.avi"}) {
            dir_.writeFile(std::string("movie/") + name, ReadMovieFixture(name));
        }
    }

    void TearDown() override {
        PumpMessages();
        sound_->Release();
        DestroyWindow(window_);
        UnregisterClassA("MovieTestWindow", nullptr);
        CoUninitialize();
        dsound_test::UseNullDevice(false);
        win32_test::UseManualClock(false);
    }

    HWND window() const { return window_; }
    const TempProgramDir& dir() const { return dir_; }

    // The game's form of a file below the program directory ("movie\\colours.avi").
    std::string GamePath(const std::string& relative) const {
        return dir_.windowsPath() + relative;
    }
    std::u16string WidePath(const std::string& relative) const {
        const std::string path = GamePath(relative);
        return std::u16string(path.begin(), path.end());
    }

    // Plays `milliseconds` (a multiple of 10) in steps of 10 ms: the mixer takes each step's
    // sound, the clock moves on and the due messages (the graph's timer, its notifications) are
    // dispatched. The last step's samples are kept.
    void Play(int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            lastMix_ = dsound_test::MixFrames(sound_, kFramesPerStep);
            win32_test::AdvanceClockMicroseconds(10000);
            PumpMessages();
        }
    }
    const std::vector<std::int16_t>& lastMix() const { return lastMix_; }

    // Dispatches every message due now, keeping those posted to the window.
    void PumpMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == window_ && message.message >= WM_USER) {
                posted_.push_back(message);
            }
            DispatchMessageA(&message);
        }
    }
    // Messages of WM_USER and above posted to the window so far; taken by the call.
    std::vector<MSG> TakePosted() { return std::move(posted_); }

private:
    TempProgramDir dir_;
    HWND window_ = nullptr;
    IDirectSound8* sound_ = nullptr;
    std::vector<std::int16_t> lastMix_;
    std::vector<MSG> posted_;
};

}  // namespace qvn::test
