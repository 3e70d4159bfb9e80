#include "platform/dshow/sound_ring.h"

#include <algorithm>
#include <cstring>

#include "platform/dsound/window_sound.h"

namespace dshow_detail {
namespace {

constexpr DWORD kFrameBytes = 4;
constexpr DWORD kRingBytes = kSoundRingFrames * kFrameBytes;

}  // namespace

std::unique_ptr<SoundRing> SoundRing::Create(HWND window) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = kFrameBytes;
    format.nAvgBytesPerSec = format.nSamplesPerSec * kFrameBytes;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = kRingBytes;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(DSoundCreateBufferForWindow(window, &description, &buffer))) {
        return nullptr;
    }
    return std::unique_ptr<SoundRing>(new SoundRing(d3dx::ComPtr<IDirectSoundBuffer>(buffer)));
}

SoundRing::SoundRing(d3dx::ComPtr<IDirectSoundBuffer> buffer) : buffer_(std::move(buffer)) {}

void SoundRing::Start() {
    std::lock_guard lock(mutex_);
    buffer_->Play(0, 0, DSBPLAY_LOOPING);
}

void SoundRing::Stop() {
    std::lock_guard lock(mutex_);
    UpdateLocked();
    buffer_->Stop();
}

HRESULT SoundRing::SetVolume(LONG volume) {
    return buffer_->SetVolume(volume);
}

void SoundRing::UpdateLocked() {
    DWORD cursor = 0;
    if (FAILED(buffer_->GetCurrentPosition(&cursor, nullptr)) || cursor >= kRingBytes) {
        return;
    }
    played_ += ((cursor + kRingBytes - lastCursor_) % kRingBytes) / kFrameBytes;
    lastCursor_ = cursor;
    if (played_ > written_) {
        written_ = played_;
    }
}

std::uint64_t SoundRing::PlayedFrames() {
    std::lock_guard lock(mutex_);
    UpdateLocked();
    return played_;
}

std::uint32_t SoundRing::FreeFrames() {
    std::lock_guard lock(mutex_);
    UpdateLocked();
    return kSoundRingFrames - static_cast<std::uint32_t>(written_ - played_);
}

bool SoundRing::Write(const std::int16_t* samples, std::uint32_t frames) {
    std::lock_guard lock(mutex_);
    UpdateLocked();
    frames = std::min(frames, kSoundRingFrames - static_cast<std::uint32_t>(written_ - played_));
    if (frames == 0) {
        return true;
    }
    const DWORD offset = static_cast<DWORD>(written_ % kSoundRingFrames) * kFrameBytes;
    void* parts[2] = {nullptr, nullptr};
    DWORD sizes[2] = {0, 0};
    if (FAILED(buffer_->Lock(offset, frames * kFrameBytes, &parts[0], &sizes[0], &parts[1],
                             &sizes[1], 0))) {
        return false;
    }
    const auto* from = reinterpret_cast<const std::uint8_t*>(samples);
    for (int i = 0; i < 2; ++i) {
        if (parts[i] == nullptr) {
            continue;
        }
        if (from != nullptr) {
            std::memcpy(parts[i], from, sizes[i]);
            from += sizes[i];
        } else {
            std::memset(parts[i], 0, sizes[i]);
        }
    }
    if (FAILED(buffer_->Unlock(parts[0], sizes[0], parts[1], sizes[1]))) {
        return false;
    }
    written_ += frames;
    return true;
}

void SoundRing::Reset() {
    std::lock_guard lock(mutex_);
    buffer_->Stop();
    buffer_->SetCurrentPosition(0);
    void* part = nullptr;
    DWORD size = 0;
    if (SUCCEEDED(buffer_->Lock(0, 0, &part, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::memset(part, 0, size);
        buffer_->Unlock(part, size, nullptr, 0);
    }
    lastCursor_ = 0;
    played_ = 0;
    written_ = 0;
}

}  // namespace dshow_detail
