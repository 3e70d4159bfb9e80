#pragma once
// Internal to the sound device: a secondary buffer, one voice of the mixer. Lock hands out a
// copy of the locked bytes and Unlock stores what was written, both under the mixer's lock, so
// that the caller never writes memory the output thread is reading.

#include <memory>
#include <vector>

#include "platform/dsound/com_object.h"
#include "platform/dsound/device_core.h"

namespace dsound_detail {

class SecondaryBuffer final : public ComObject<IDirectSoundBuffer8> {
public:
    // A buffer in `format` (already checked) over `memory`, attached to the core's mixer.
    SecondaryBuffer(std::shared_ptr<DeviceCore> core, DWORD capabilities, const MixFormat& format,
                    std::shared_ptr<std::vector<BYTE>> memory);

    // A new buffer over the same memory with this one's format, controls and frequency,
    // stopped at position 0.
    SecondaryBuffer* Duplicate();

    DeviceCore& core() { return *core_; }
    MixVoice& voiceLocked() { return voice_; }

    HRESULT QueryInterface(REFIID riid, void** object) override;
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
    ~SecondaryBuffer() override;

    struct PendingLock {
        std::unique_ptr<BYTE[]> bytes;  // the first part, then the second
        DWORD offset;
        DWORD length1;
        DWORD length2;
    };

    bool has(DWORD capability) const { return (voice_.capabilities & capability) != 0; }
    // The bytes of whole frames; cursors stay below it.
    DWORD ringBytesLocked() const { return voice_.frameCount * voice_.format.blockAlign; }
    DWORD writeCursorLocked() const;

    std::shared_ptr<DeviceCore> core_;
    MixVoice voice_;
    std::vector<PendingLock> locks_;
};

}  // namespace dsound_detail
