#pragma once
// One loaded sound: a secondary buffer holding a whole decoded sound effect or voice, or the
// ring of the music stream. Reference counted; the owner of a reference calls Release.

#include <atomic>
#include <memory>

#include "platform/d3dx/com_ptr.h"
#include "platform/dsound/dsound.h"
#include "platform/winbase/win_types.h"

class DirectSound;

// Fades run in this many steps.
constexpr int kSoundFadeSteps = 100;
// How often a play-and-delete sound is checked for its end, in milliseconds.
constexpr UINT kSoundDeleteCheckMs = 1000;

class DSSound {
public:
    ULONG AddRef();
    // At 0 the sound is deleted: stopped, its buffer released, its timer killed and its entry
    // removed from the device's list.
    ULONG Release();

    // Plays from the current position; DSBPLAY_LOOPING to loop.
    HRESULT Play(DWORD flags);
    HRESULT Stop();
    HRESULT GetStatus(DWORD* status);
    HRESULT GetVolume(LONG* volume);
    // Hundredths of a decibel: 0 full, -10000 silent; above 0 is refused.
    HRESULT SetVolume(LONG volume);
    HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor);
    // E_OUTOFMEMORY when the copy cannot be made.
    HRESULT SetName(const char* text);
    // Copies the name into `destination` when both exist; returns the name (null when none).
    const char* GetName(char* destination) const;

    // Moves the volume to `target` in 100 steps over `durationMs` (period durationMs / 100).
    // A new fade replaces the old one.
    void Fade(LONG target, DWORD durationMs);
    // Plays once and deletes the sound once it has ended (checked every second). The caller
    // gives up its reference. A running fade goes on to its end.
    HRESULT PlayAndDelete();

    HRESULT GetWorldPos(D3DVECTOR* position);
    HRESULT SetWorldPos(float x, float y, float z);
    HRESULT SetWorldDistance(float minimum, float maximum);

    DWORD Id() const { return id; }
    DWORD CreationFlags() const { return creationFlags; }
    IDirectSoundBuffer8* Buffer() const { return buffer.get(); }
    int FadeStepsLeft() const { return fadeStepsLeft; }
    int FadeStep() const { return fadeStep; }
    bool DeletesWhenStopped() const { return deleteWhenStopped; }

private:
    friend class DirectSound;
    explicit DSSound(DirectSound* device);
    ~DSSound();
    UINT_PTR TimerId() const;
    void StartTimer(UINT periodMs);
    void KillSoundTimer();
    HRESULT Query3D(IDirectSound3DBuffer** buffer3d);

    std::atomic<ULONG> referenceCount{1};
    std::unique_ptr<char[]> name;
    DWORD id = 0;
    DWORD creationFlags = 0;
    DirectSound* owner = nullptr;
    d3dx::ComPtr<IDirectSoundBuffer8> buffer;
    int fadeStepsLeft = 0;
    int fadeStep = 0;
    bool deleteWhenStopped = false;
    bool listed = false;
};
