#pragma once
// The one sound device of the game and its loaded sounds. The device keeps a list of every live
// sound so that a window timer, which carries only a number (9000 + sound id), can find the
// sound it belongs to. The list is shared with the music streaming thread, which creates and
// releases its own stream sound, so every walk and change of it takes the device's lock.

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "platform/d3dx/com_ptr.h"
#include "platform/dsound/dsound.h"
#include "platform/winbase/win_types.h"

class DSSound;

// First id of the sound timers on the game window: a sound's timer is kSoundTimerBase + its id.
constexpr UINT_PTR kSoundTimerBase = 9000;

struct SoundDriverInfo {
    std::string description;
    std::string module;
    DWORD productVersionMS = 0;  // from the module's version resource; 0 when unreadable
    DWORD productVersionLS = 0;
};

class DirectSound {
public:
    DirectSound() = default;
    // Deletes every listed sound, then releases the primary buffer and the device.
    ~DirectSound();
    DirectSound(const DirectSound&) = delete;
    DirectSound& operator=(const DirectSound&) = delete;

    HRESULT Initialize(HWND window, const GUID* driver);
    // A new sound of `size` bytes in `format`, holding `data` when given. The caller owns the
    // one reference stored in *out.
    HRESULT CreateBuffer(DSSound** out, DWORD flags, const WAVEFORMATEX* format, const void* data,
                         DWORD size);
    // A sound from a wave or MPEG file, at least `minimumSize` bytes (the rest zero).
    HRESULT CreateWaveBuffer(DSSound** out, const char* path, DWORD flags, DWORD minimumSize);
    // A second sound sharing `original`'s data, with its own position and volume.
    HRESULT DuplicateBuffer(DSSound* original, DSSound** out);
    HRESULT Get3DListener(IDirectSound3DListener** listener);

    // The first listed sound named exactly `name`, or null. The pointer is only safe to use on
    // the main thread, for sounds the main thread made.
    DSSound* FindSound(const char* name);
    int HasSound(DSSound* sound);
    // How many sounds are listed.
    std::size_t SoundCount();
    // A copy of the list, in creation order; the pointers are only safe to use as FindSound's.
    std::vector<DSSound*> Sounds();
    void ReleaseAllSounds();

    // The owner of the sound timers (the game window).
    void SetWindow(HWND owner);
    HWND Window() const { return window; }
    // One tick of the timer kSoundTimerBase + id; an id that matches no listed sound does
    // nothing.
    void OnTimer(UINT_PTR timerId);

    // Declared before the primary buffer, so that the buffer goes first.
    d3dx::ComPtr<IDirectSound8> device;
    HWND window = nullptr;
    const GUID* driver = nullptr;  // null: the default device
    d3dx::ComPtr<IDirectSoundBuffer> primaryBuffer;

private:
    friend class DSSound;
    // Appends a new sound and gives it the next id.
    void AddSound(DSSound* sound);
    void RemoveSound(DSSound* sound);
    DSSound* FindSoundById(DWORD id);
    bool FadeTick(DSSound& sound);

    GUID driverGuid_{};
    std::recursive_mutex listMutex_;
    std::vector<DSSound*> sounds_;  // in creation order; the list does not own them
    DWORD nextId_ = 0;
};

extern DirectSound* gDirectSound;

// Destroys any existing device and makes a new one; on failure the global stays null.
HRESULT CreateDirectSound(HWND window, const GUID* driver);
void DestroyDirectSound();
// Called before the device is destroyed, so that a user of the device on another thread (the
// music stream) can stop first. Null: nothing.
void SetSoundDeviceClosingHook(void (*hook)());

// The drivers found by the last enumeration (the first working one).
std::size_t GetSoundDriverCount();
const SoundDriverInfo* GetSoundDriverInfo(std::size_t index);

// A sound from a file through the global device; E_FAIL without a device or without data.
HRESULT CreateSound(const char* path, DSSound** out, DWORD flags, DWORD minimumSize);
// Loads and plays a one-shot sound at `volume` (hundredths of a decibel) that deletes itself
// once it has ended; with `out`, the sound is handed over unplayed instead.
HRESULT PlaySE(const char* path, LONG volume, DSSound** out, DWORD flags);

// A 0..10000 setting at a 0..10000 level as a sound volume: (setting x level) / 10000 - 10000.
LONG SoundVolumeFromSetting(LONG setting, LONG level = 10000);
