#pragma once
// The live input that an input backend feeds and the devices read: the keys, the mouse and the
// attached game pads, plus observers that see every change as an event (buffered device data).
// Main thread only.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/dinput/dinput_types.h"
#include "platform/winbase/win_types.h"

constexpr int kMaxPadAxes = 8;  // X, Y, Z, Rx, Ry, Rz and two sliders
constexpr int kMaxPadHats = 4;
constexpr int kMaxPadButtons = 128;
constexpr int kMouseButtons = 8;

// Identifies one connection of a pad; a pad plugged in again gets a new id.
using PadId = std::uint32_t;

struct PadDescription {
    std::string name;                     // UTF-8
    std::array<BYTE, 16> joystickGuid{};  // the system's GUID of the joystick model
    DWORD devType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
    int axisCount = 0;    // kept within 0..kMaxPadAxes
    int buttonCount = 0;  // kept within 0..kMaxPadButtons
    int hatCount = 0;     // kept within 0..kMaxPadHats
    DWORD firmwareRevision = 0;
    DWORD hardwareRevision = 0;
};

struct PadReading {
    std::array<std::int16_t, kMaxPadAxes> axes{};  // -32768..32767
    std::array<BYTE, kMaxPadHats> hats{};          // kHat* bits
    std::array<bool, kMaxPadButtons> buttons{};
};

// Hat bits of PadReading::hats.
constexpr BYTE kHatUp = 0x1;
constexpr BYTE kHatRight = 0x2;
constexpr BYTE kHatDown = 0x4;
constexpr BYTE kHatLeft = 0x8;

struct PadRecord {
    PadId id = 0;
    PadDescription description;
    GUID instanceGuid{};
    GUID productGuid{};
    PadReading reading;
    bool heldElsewhere = false;  // another program holds it exclusively
};

struct MouseReading {
    // Movement since the state was made; the wheel in WHEEL_DELTA units per notch.
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t wheel = 0;
    std::array<bool, kMouseButtons> buttons{};
};

enum class InputEventKind { Key, MouseAxis, MouseButton, PadAxis, PadHat, PadButton };

struct InputEvent {
    InputEventKind kind = InputEventKind::Key;
    PadId pad = 0;  // pad events only
    int index = 0;  // DIK code, mouse axis 0..2, mouse button, pad axis, hat or button
    // Key and button: 1 down, 0 up; mouse axis: movement; pad axis: raw value; hat: kHat* bits.
    LONG value = 0;
    DWORD timeMs = 0;
    DWORD sequence = 0;
};

class InputObserver {
public:
    virtual void OnInputEvent(const InputEvent& event) = 0;

protected:
    ~InputObserver() = default;
};

class InputState {
public:
    // Time stamp (milliseconds) given to the events that follow.
    void SetEventTime(DWORD timeMs) { timeMs_ = timeMs; }

    // Keyboard: one byte per DIK code, 0x80 while the key is down.
    void SetKey(BYTE dik, bool down);
    const std::array<BYTE, 256>& Keys() const { return keys_; }

    // Mouse: button 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
    void MoveMouse(LONG dx, LONG dy);
    void TurnWheel(LONG delta);
    void SetMouseButton(int button, bool down);
    const MouseReading& Mouse() const { return mouse_; }

    // Pads, in the order they were attached; the position is the joystick id. The description's
    // counts are kept within their limits.
    PadId AttachPad(PadDescription description, const PadReading& initial);
    void DetachPad(PadId pad);
    void SetPadAxis(PadId pad, int axis, std::int16_t value);
    void SetPadHat(PadId pad, int hat, BYTE bits);
    void SetPadButton(PadId pad, int button, bool down);
    void SetPadHeldElsewhere(PadId pad, bool held);
    const std::vector<PadRecord>& Pads() const { return pads_; }
    const PadRecord* FindPad(PadId pad) const;
    const PadRecord* FindPad(const GUID& instanceGuid) const;
    // The position of the pad among those attached, or -1.
    int JoystickId(PadId pad) const;

    // Exclusive holders among our own devices, by device GUID: true when `owner` now holds it.
    bool ClaimExclusive(const GUID& device, const void* owner);
    void ReleaseExclusive(const GUID& device, const void* owner);

    void AddObserver(InputObserver* observer);
    void RemoveObserver(InputObserver* observer);

private:
    PadRecord* FindPadRecord(PadId pad);
    void Notify(InputEventKind kind, PadId pad, int index, LONG value);

    std::array<BYTE, 256> keys_{};
    MouseReading mouse_;
    std::vector<PadRecord> pads_;
    PadId nextPadId_ = 1;
    DWORD timeMs_ = 0;
    DWORD sequence_ = 0;
    std::vector<std::pair<GUID, const void*>> exclusiveHolders_;
    std::vector<InputObserver*> observers_;
};
