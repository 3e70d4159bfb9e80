#pragma once
// Internal to the sound device: the primary buffer, one per device. It sets the output format
// and the master volume, and leads to the 3-D listener; it has no memory of its own to lock.

#include <atomic>
#include <memory>

#include "platform/dsound/com_object.h"
#include "platform/dsound/device_core.h"

namespace dsound_detail {

class PrimaryBuffer final : public IDirectSoundBuffer8 {
public:
    // The device's primary buffer with a new reference, made on first use.
    static HRESULT Obtain(const std::shared_ptr<DeviceCore>& core, DWORD capabilities,
                          LPDIRECTSOUNDBUFFER* buffer);

    DeviceCore& core() { return *core_; }

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override;
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) override;
    HRESULT GetVolume(LONG* volume) override;
    HRESULT GetPan(LONG* pan) override;
    HRESULT GetFrequency(DWORD* frequency) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetFormat(LPCWAVEFORMATEX format) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT Stop() override;
    HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override;

private:
    PrimaryBuffer(std::shared_ptr<DeviceCore> core, DWORD capabilities);
    ~PrimaryBuffer() override = default;

    std::shared_ptr<DeviceCore> core_;
    DWORD capabilities_;
    ULONG references_ = 1;  // guarded by the core's primary mutex
    std::atomic<bool> playing_{false};
};

class Listener3D final : public ComObject<IDirectSound3DListener> {
public:
    explicit Listener3D(PrimaryBuffer* primary);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT GetPosition(D3DVECTOR* position) override;
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT CommitDeferredSettings() override;

private:
    ~Listener3D() override;

    PrimaryBuffer* primary_;
};

}  // namespace dsound_detail
