#pragma once
// Internal to dinput: what every device object shares (reference count, data format, cooperative
// level, acquisition, properties, buffered data) and the hooks by which the keyboard, the mouse
// and a pad differ.

#include <atomic>
#include <bitset>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/dinput/direct_input.h"
#include "platform/dinput/input_state.h"

class InputDevice : public IDirectInputDevice8A, private InputObserver {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetCapabilities(LPDIDEVCAPS caps) override;
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                        DWORD flags) override;
    HRESULT GetProperty(REFGUID property, LPDIPROPHEADER header) override;
    HRESULT SetProperty(REFGUID property, LPCDIPROPHEADER header) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT GetDeviceData(DWORD objectDataSize, LPDIDEVICEOBJECTDATA data, LPDWORD inOut,
                          DWORD flags) override;
    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT GetDeviceInfo(LPDIDEVICEINSTANCEA instance) override;
    HRESULT Poll() override;

protected:
    struct DeviceObject {
        const GUID* guidType;
        DWORD offset;  // in the device's data formats
        DWORD type;    // DIDFT_* | DIDFT_MAKEINSTANCE(n)
        std::string name;
    };

    explicit InputDevice(std::shared_ptr<InputState> state);
    ~InputDevice() override;

    InputState& State() const { return *state_; }
    const DIDATAFORMAT* Format() const { return format_; }

    // The GUID naming the physical device (exclusive access is per physical device).
    virtual GUID DeviceGuid() const = 0;
    virtual bool IsAttached() const { return true; }
    // Another program holds the device exclusively.
    virtual bool IsHeldElsewhere() const { return false; }
    // Identifies the connection the device reads; a change loses the acquisition.
    virtual std::uint64_t Connection() const { return 0; }
    virtual bool AcceptsFormat(const DIDATAFORMAT& format) const = 0;
    virtual const std::vector<DeviceObject>& Objects() const = 0;
    virtual void FillCapabilities(DIDEVCAPS& caps) const = 0;
    virtual void FillInstance(DIDEVICEINSTANCEA& instance) const = 0;
    // Writes the state in the current format (Format()->dwDataSize bytes). A key or button that
    // went down since the last read reads as down even when it is up again (ReadsDown), so that
    // a tap between two reads is seen once.
    virtual void ReadState(BYTE* out) = 0;
    virtual void OnAcquired() {}
    // The key or button of this device that the event puts down, or -1.
    virtual int PressedObject(const InputEvent& event) const = 0;
    // The event as buffered data of this device, false when it is not this device's.
    virtual bool ToObjectData(const InputEvent& event, DIDEVICEOBJECTDATA& data) const = 0;
    // Properties of this kind of device only; `object` is null for DIPH_DEVICE.
    virtual HRESULT GetKindProperty(DWORD number, DIPROPHEADER& header, const DeviceObject* object);
    virtual HRESULT SetKindProperty(DWORD number, const DIPROPHEADER& header,
                                    const DeviceObject* object);
    // DI_OK when the device allows that (valid) cooperative level.
    virtual HRESULT CheckCooperativeLevel(DWORD) const { return DI_OK; }
    // Result of Poll on an acquired device.
    virtual HRESULT PollResult() const { return DI_NOEFFECT; }

    // Whether `index` (a DIK code or a button), down now or not, reads as down: it does when it
    // is down or went down while acquired since the state was last read, but not in the first
    // read after an acquisition that took over a press made before it (that press shows from
    // the next read, as a press of its own).
    bool ReadsDown(int index, bool downNow) const {
        if (index < 0 || index >= static_cast<int>(wentDown_.size())) {
            return downNow;
        }
        const auto bit = static_cast<std::size_t>(index);
        return !hiddenForOneRead_.test(bit) && (downNow || wentDown_.test(bit));
    }

private:
    void OnInputEvent(const InputEvent& event) override;
    // DI_OK when the device may be read now; otherwise why not.
    HRESULT ReadCheck();
    // Drops an acquisition that a deactivation or an unplugging has taken away.
    void SyncAcquisition();
    void DropAcquisition(bool lost);
    HRESULT FindObject(const DIPROPHEADER& header, const DeviceObject** object) const;
    // Checks a property call: its header, the property and the object it addresses (null: the
    // device); DIPROP_BUFFERSIZE must address the device with a DIPROPDWORD.
    HRESULT CheckPropertyCall(REFGUID property, const DIPROPHEADER* header,
                              const DeviceObject** object) const;

    std::atomic<ULONG> references_{1};
    std::shared_ptr<InputState> state_;
    const DIDATAFORMAT* format_ = nullptr;
    DWORD cooperativeLevel_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    HWND cooperativeWindow_ = nullptr;
    bool acquired_ = false;
    bool lost_ = false;  // acquisition taken away rather than given up
    bool holdsExclusive_ = false;
    GUID exclusiveGuid_{};
    std::uint64_t acquiredAtDeactivation_ = 0;
    std::uint64_t acquiredConnection_ = 0;
    DWORD bufferSize_ = 0;
    std::deque<DIDEVICEOBJECTDATA> buffer_;
    bool overflowed_ = false;
    std::bitset<256> wentDown_;  // by PressedObject index, until the next read
    // Went down while lost, with the window active again, until acquired; then read as up once
    // and as down once.
    std::bitset<256> wentDownBeforeAcquire_;
    std::bitset<256> hiddenForOneRead_;
};

// Object-type matching of EnumObjects: DIDFT_ALL matches everything, otherwise any common bit of
// the low byte.
bool ObjectTypeMatches(DWORD objectType, DWORD flags);
