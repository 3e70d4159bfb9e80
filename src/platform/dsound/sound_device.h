#pragma once
// Internal to the sound device: the device object behind IDirectSound8.

#include <memory>

#include "platform/dsound/com_object.h"
#include "platform/dsound/device_core.h"

namespace dsound_detail {

class SoundDevice final : public ComObject<IDirectSound8> {
public:
    explicit SoundDevice(std::shared_ptr<DeviceCore> core);

    const std::shared_ptr<DeviceCore>& core() const { return core_; }

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                              IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                 LPDIRECTSOUNDBUFFER* duplicate) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

private:
    ~SoundDevice() override;

    std::shared_ptr<DeviceCore> core_;
};

// CreateSoundBuffer on `core`: a primary or secondary buffer as `description` asks.
HRESULT CreateBufferOnCore(const std::shared_ptr<DeviceCore>& core, LPCDSBUFFERDESC description,
                           LPDIRECTSOUNDBUFFER* buffer);

}  // namespace dsound_detail
