#pragma once
// Internal to the sound device: what a device and its buffers share. The buffers keep the core
// alive; releasing the device object retires it (its output closes, its buffers stay valid but
// are heard no more).

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/dsound/pcm_mixer.h"
#include "platform/dsound/sdl_audio_output.h"

namespace dsound_detail {

class PrimaryBuffer;

// Where a device's mix goes: nowhere (the null device that tests mix by hand), or an SDL output
// device by name (none: the default output).
struct OutputTarget {
    bool null = false;
    std::optional<std::string> sdlDeviceName;
};

class DeviceCore {
public:
    // A core at the default primary format (44,100 Hz, 16 bits, stereo); null when the output
    // cannot be opened.
    static std::shared_ptr<DeviceCore> Create(const OutputTarget& target);
    ~DeviceCore();

    PcmMixer& mixer() { return mixer_; }
    bool isNullDevice() const { return target_.null; }

    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    DWORD cooperativeLevel() const;
    // The window of the last SetCooperativeLevel; null before one.
    HWND cooperativeWindow() const;

    WAVEFORMATEX primaryFormat() const;
    // Changes the output format (the output reopens); needs the priority level.
    HRESULT SetPrimaryFormat(LPCWAVEFORMATEX format);

    // The one primary buffer object, under the core's lock: the primary buffer registers and
    // unregisters itself, and CreateSoundBuffer hands it out with a new reference.
    std::mutex& primaryMutex() { return primaryMutex_; }
    PrimaryBuffer*& primaryLocked() { return primary_; }

    // Closes the output; called when the device object is released.
    void Retire();
    bool retired() const;

private:
    explicit DeviceCore(const OutputTarget& target);
    void SetMixRate(DWORD rate);

    OutputTarget target_;
    PcmMixer mixer_;
    mutable std::mutex mutex_;  // level, format, output; never held while mixing
    DWORD cooperativeLevel_ = 0;
    HWND cooperativeWindow_ = nullptr;
    WAVEFORMATEX primaryFormat_;
    std::unique_ptr<SdlAudioOutput> output_;
    bool retired_ = false;
    std::mutex primaryMutex_;
    PrimaryBuffer* primary_ = nullptr;
};

// The newest null device that has not been retired (for tests of code that keeps its device
// to itself), or null.
std::shared_ptr<DeviceCore> NewestLiveNullDevice();
// The newest device not retired whose cooperative level was set for `window`, or null.
std::shared_ptr<DeviceCore> NewestLiveDeviceOfWindow(HWND window);

}  // namespace dsound_detail
