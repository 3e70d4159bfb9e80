#pragma once
// A null sound device at the priority level, with helpers that make buffers from sample lists
// and mix by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_test.h"

namespace dsound_testing {

inline const HWND kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));

struct ComRelease {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

inline WAVEFORMATEX PcmFormat(WORD channels, WORD bits, DWORD rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.wBitsPerSample = bits;
    return format;
}

inline DSBUFFERDESC BufferDescription(DWORD flags, DWORD bytes, WAVEFORMATEX* format) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    return description;
}

// Little-endian bytes of 16-bit samples.
inline std::vector<BYTE> Pcm16(std::initializer_list<std::int16_t> samples) {
    std::vector<BYTE> bytes;
    for (const std::int16_t sample : samples) {
        const auto bits = static_cast<std::uint16_t>(sample);
        bytes.push_back(static_cast<BYTE>(bits & 0xFF));
        bytes.push_back(static_cast<BYTE>(bits >> 8));
    }
    return bytes;
}

class NullDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dsound_test::UseNullDevice(true);
        IDirectSound8* device = nullptr;
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
        device_.reset(device);
        ASSERT_EQ(device_->SetCooperativeLevel(kWindow, DSSCL_PRIORITY), DS_OK);
    }

    void TearDown() override {
        buffers_.clear();
        device_.reset();
        dsound_test::UseNullDevice(false);
    }

    // A buffer in the given format holding `data` (the rest of `size` bytes zero); owned by the
    // fixture.
    IDirectSoundBuffer* MakeBuffer(WORD channels, WORD bits, DWORD rate,
                                   const std::vector<BYTE>& data, DWORD flags = DSBCAPS_CTRLVOLUME,
                                   DWORD size = 0) {
        WAVEFORMATEX format = PcmFormat(channels, bits, rate);
        const DSBUFFERDESC description =
            BufferDescription(flags, size != 0 ? size : static_cast<DWORD>(data.size()), &format);
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
        if (buffer == nullptr) {
            return nullptr;
        }
        buffers_.emplace_back(buffer);
        Fill(buffer, 0, data);
        return buffer;
    }

    static void Fill(IDirectSoundBuffer* buffer, DWORD offset, const std::vector<BYTE>& data) {
        if (data.empty()) {
            return;
        }
        void* part1 = nullptr;
        void* part2 = nullptr;
        DWORD bytes1 = 0;
        DWORD bytes2 = 0;
        ASSERT_EQ(buffer->Lock(offset, static_cast<DWORD>(data.size()), &part1, &bytes1, &part2,
                               &bytes2, 0),
                  DS_OK);
        ASSERT_EQ(bytes1 + bytes2, data.size());
        std::copy_n(data.begin(), bytes1, static_cast<BYTE*>(part1));
        std::copy_n(data.begin() + bytes1, bytes2, static_cast<BYTE*>(part2));
        ASSERT_EQ(buffer->Unlock(part1, bytes1, part2, bytes2), DS_OK);
    }

    std::vector<std::int16_t> Mix(std::uint32_t frames) {
        return dsound_test::MixFrames(device_.get(), frames);
    }

    static DWORD PlayCursor(IDirectSoundBuffer* buffer) {
        DWORD play = 0xFFFFFFFF;
        EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }

    static DWORD Status(IDirectSoundBuffer* buffer) {
        DWORD status = 0xFFFFFFFF;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        return status;
    }

    ComPtr<IDirectSound8> device_;
    std::vector<ComPtr<IDirectSoundBuffer>> buffers_;
};

}  // namespace dsound_testing
