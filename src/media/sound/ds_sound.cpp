#include "media/sound/ds_sound.h"

#include <cstring>
#include <new>

#include "foundation/log.h"
#include "media/sound/direct_sound.h"
#include "platform/d3dx/error_names.h"
#include "platform/win32/timer_api.h"

namespace {

void LogFailure(const char* where, HRESULT result) {
    LogPrintf("%s: %s", where, DXGetErrorString9(result));
}

void SoundTimerTick(HWND, UINT, UINT_PTR id, DWORD) {
    if (gDirectSound != nullptr) {
        gDirectSound->OnTimer(id);
    }
}

bool IsPlaying(DSSound& sound) {
    DWORD status = 0;
    return SUCCEEDED(sound.GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0;
}

}  // namespace

DSSound::DSSound(DirectSound* device) : owner(device) {}

DSSound::~DSSound() {
    if (buffer != nullptr) {
        buffer->Stop();
        buffer.reset();
    }
    if (owner != nullptr && listed) {
        KillSoundTimer();
        owner->RemoveSound(this);
    }
}

ULONG DSSound::AddRef() {
    return ++referenceCount;
}

ULONG DSSound::Release() {
    ULONG left = --referenceCount;
    if (left == 0) {
        delete this;
    }
    return left;
}

UINT_PTR DSSound::TimerId() const {
    return kSoundTimerBase + id;
}

void DSSound::StartTimer(UINT periodMs) {
    if (owner != nullptr && owner->window != nullptr) {
        SetTimer(owner->window, TimerId(), periodMs, SoundTimerTick);
    }
}

void DSSound::KillSoundTimer() {
    if (owner != nullptr && owner->window != nullptr) {
        KillTimer(owner->window, TimerId());
    }
}

HRESULT DSSound::Play(DWORD flags) {
    return buffer->Play(0, 0, flags & DSBPLAY_LOOPING);
}

HRESULT DSSound::Stop() {
    return buffer->Stop();
}

HRESULT DSSound::GetStatus(DWORD* status) {
    return buffer->GetStatus(status);
}

HRESULT DSSound::GetVolume(LONG* volume) {
    return buffer->GetVolume(volume);
}

HRESULT DSSound::SetVolume(LONG volume) {
    return buffer->SetVolume(volume);
}

HRESULT DSSound::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
    HRESULT result = buffer->GetCurrentPosition(playCursor, writeCursor);
    if (FAILED(result)) {
        LogFailure("DSSound::GetCurrentPosition", result);
    }
    return result;
}

HRESULT DSSound::SetName(const char* text) {
    if (text == nullptr) {
        name.reset();
        return S_OK;
    }
    std::size_t length = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new (std::nothrow) char[length]);
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(copy.get(), text, length);
    name = std::move(copy);
    return S_OK;
}

const char* DSSound::GetName(char* destination) const {
    if (destination != nullptr && name != nullptr) {
        std::strcpy(destination, name.get());
    }
    return name.get();
}

void DSSound::Fade(LONG target, DWORD durationMs) {
    LONG current = 0;
    GetVolume(&current);
    fadeStepsLeft = kSoundFadeSteps;
    fadeStep = static_cast<int>((target - current) / kSoundFadeSteps);
    if (owner == nullptr || owner->window == nullptr) {
        // No window to time the steps: take them all at once.
        SetVolume(current + kSoundFadeSteps * fadeStep);
        fadeStepsLeft = 0;
        return;
    }
    StartTimer(durationMs / kSoundFadeSteps);
}

HRESULT DSSound::PlayAndDelete() {
    HRESULT result = Play(0);
    if (FAILED(result)) {
        LogFailure("DSSound::PlayAndDelete", result);
        delete this;
        return result;
    }
    deleteWhenStopped = true;
    if (fadeStepsLeft == 0) {
        StartTimer(kSoundDeleteCheckMs);
    }
    return result;
}

HRESULT DSSound::Query3D(IDirectSound3DBuffer** buffer3d) {
    return buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(buffer3d));
}

HRESULT DSSound::GetWorldPos(D3DVECTOR* position) {
    IDirectSound3DBuffer* buffer3d = nullptr;
    HRESULT result = Query3D(&buffer3d);
    if (SUCCEEDED(result)) {
        result = buffer3d->GetPosition(position);
        buffer3d->Release();
    }
    if (FAILED(result)) {
        LogFailure("DSSound::GetWorldPos", result);
    }
    return result;
}

HRESULT DSSound::SetWorldPos(float x, float y, float z) {
    IDirectSound3DBuffer* buffer3d = nullptr;
    HRESULT result = Query3D(&buffer3d);
    if (SUCCEEDED(result)) {
        result = buffer3d->SetPosition(x, y, z, DS3D_IMMEDIATE);
        buffer3d->Release();
    }
    if (FAILED(result)) {
        LogFailure("DSSound::SetWorldPos", result);
    }
    return result;
}

HRESULT DSSound::SetWorldDistance(float minimum, float maximum) {
    IDirectSound3DBuffer* buffer3d = nullptr;
    HRESULT result = Query3D(&buffer3d);
    if (SUCCEEDED(result)) {
        result = buffer3d->SetMinDistance(minimum, DS3D_IMMEDIATE);
        if (SUCCEEDED(result)) {
            result = buffer3d->SetMaxDistance(maximum, DS3D_IMMEDIATE);
        }
        buffer3d->Release();
    }
    if (FAILED(result)) {
        LogFailure("DSSound::SetWorldDistance", result);
    }
    return result;
}

// One timer serves both the fade and the deletion of a sound, so that fading a one-shot sound
// neither cancels its deletion nor is cut short by it.
void DirectSound::OnTimer(UINT_PTR timerId) {
    if (timerId < kSoundTimerBase) {
        return;
    }
    DSSound* sound = FindSoundById(static_cast<DWORD>(timerId - kSoundTimerBase));
    if (sound == nullptr) {
        return;
    }
    bool wasFading = sound->fadeStepsLeft > 0;
    bool fading = FadeTick(*sound);
    if (sound->deleteWhenStopped) {
        if (!IsPlaying(*sound)) {
            delete sound;  // kills the timer
        } else if (wasFading && !fading) {
            sound->StartTimer(kSoundDeleteCheckMs);  // back to the end checks
        }
        return;
    }
    if (!fading) {
        sound->KillSoundTimer();
    }
}

// Takes one fade step; true while more steps follow.
bool DirectSound::FadeTick(DSSound& sound) {
    if (sound.fadeStepsLeft <= 0) {
        return false;
    }
    LONG volume = 0;
    sound.GetVolume(&volume);
    sound.SetVolume(volume + sound.fadeStep);
    return --sound.fadeStepsLeft > 0;
}
