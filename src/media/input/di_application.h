#pragma once
// The input devices of the game: DirectInput 8 with the system keyboard, the system mouse and one
// game pad. Each poll keeps the previous state beside the current one, so that a press (down
// now, up before) can be told from a hold. One instance per process (gDIApplication).
//
// The game sees a key or button go down only while it has the input. One that is already down
// when the game takes the input back (a dialog ends, a device is acquired again, a device that
// could not be read reads again) went down for a dialog, a menu or another window: it reads as
// up until it is released, so holding it is neither a press nor a hold. So does an Enter that
// goes down while an Alt key is held: it belongs to the game window's Alt+Enter command.

#include <bitset>

#include "platform/dinput/direct_input.h"
#include "platform/winbase/win_types.h"

// Device mask bits of SetAcquire, Poll and the buffered-data calls.
constexpr DWORD kDIKeyboardBit = 1;
constexpr DWORD kDIMouseBit = 2;
constexpr DWORD kDIPadBit = 4;

// Acquire is retried this many times while it answers DIERR_INPUTLOST, then the loss is
// reported as a failure instead of spinning.
constexpr int kDIAcquireRetryLimit = 16;

class DIApplication {
public:
    DIApplication() = default;
    ~DIApplication();
    DIApplication(const DIApplication&) = delete;
    DIApplication& operator=(const DIApplication&) = delete;

    HRESULT Initialize(HINSTANCE instanceHandle);

    HRESULT SetKeyboardDevice(HWND window, DWORD cooperativeLevel);
    HRESULT SetMouseDevice(HWND window, DWORD cooperativeLevel);
    // `guid` null: the attached game controller with the lowest joystick id; none attached logs
    // "no devices." and returns 0 without a pad.
    HRESULT SetPadDevice(HWND window, const GUID* guid, DWORD cooperativeLevel);
    HRESULT SetPadRange(LONG min, LONG max);
    // `mask`: kDI*Bit; acquires, or unacquires when `acquire` is false.
    // A device acquired anew holds over what is down at that moment (ForgetHeldInput).
    HRESULT SetAcquire(DWORD mask, bool acquire);
    HRESULT Poll(DWORD mask);
    // The keys and buttons of the `mask` devices held now went down while the game did not have
    // the input: each reads as up from now until it is released. A device that cannot be read
    // now does so at its next successful read.
    void ForgetHeldInput(DWORD mask);
    // The frame has acted on this poll's input: until the next poll, what is down reads as held
    // (no press) and the mouse as not moved, so a frame that only redraws acts on nothing twice.
    void MarkInputRead();

    bool IsKeyDown(int key) const;
    bool IsKeyPressed(int key) const;
    double GetKeyRepeatDelay() const { return keyRepeatDelay; }        // seconds
    double GetKeyRepeatInterval() const { return keyRepeatInterval; }  // seconds
    void GetMouseState(DIMOUSESTATE2* out) const;
    bool IsMouseButtonDown(int button) const;
    bool IsMouseButtonPressed(int button) const;
    DWORD GetWheelGranularity() const { return wheelGranularity; }
    void GetPadRange(LONG* min, LONG* max) const;
    LONG GetPadRangeMax() const { return padMax; }
    void GetPadState(DIJOYSTATE2* out) const;
    bool IsPadButtonPressed(int button) const;

    // Buffered input; not used by the game itself.
    HRESULT SetBufferSize(DWORD mask, DWORD size);
    // The buffer size of the first masked device that exists (0 when none).
    DWORD GetBufferSize(DWORD mask) const;
    // Events waiting in the first masked device that exists.
    HRESULT GetBufferedCount(DWORD mask, DWORD* count);
    // Takes one event from the first masked device that has one; *count 0 when none waits.
    HRESULT GetBufferedData(DWORD mask, DIDEVICEOBJECTDATA* data, DWORD* count);
    // Takes up to *count events from the first masked device that exists.
    HRESULT GetBufferedDatas(DWORD mask, DIDEVICEOBJECTDATA* data, DWORD* count);
    HRESULT ClearBuffer(DWORD mask);

    // The fields below are the object's state; tests may put their own devices in place.
    IDirectInput8* directInput = nullptr;
    IDirectInputDevice8* keyboard = nullptr;
    IDirectInputDevice8* mouse = nullptr;
    IDirectInputDevice8* pad = nullptr;
    DWORD deviceFlags = 0;  // kDI*Bit of the devices made
    HINSTANCE instance = nullptr;
    HWND padWindow = nullptr;
    DIDEVCAPS keyboardCaps{};
    BYTE keys[256]{};
    BYTE previousKeys[256]{};
    double keyRepeatDelay = 0.0;
    double keyRepeatInterval = 0.0;
    DIDEVCAPS mouseCaps{};
    HANDLE event = nullptr;  // closed at destruction; never created by the game
    int buttonsSwapped = 0;
    DWORD wheelGranularity = 0;
    DIMOUSESTATE2 mouseState{};
    DIMOUSESTATE2 previousMouseState{};
    DIDEVCAPS padCaps{};
    LONG padMin = 0;
    LONG padMax = 0;
    DIJOYSTATE2 padState{};
    DIJOYSTATE2 previousPadState{};

private:
    // The device of one mask bit, or null when not made (or for no bit at all).
    IDirectInputDevice8* DeviceOf(DWORD bit) const;
    // The first set-up device of `mask` in the order keyboard, mouse, pad; null when none.
    IDirectInputDevice8* FirstDevice(DWORD mask) const;
    HRESULT ApplyPadRange(LONG min, LONG max);
    void DropDevice(IDirectInputDevice8*& device, DWORD bit);
    // Keys or buttons of one device that went down while the game did not have the input.
    struct HeldOver {
        std::bitset<256> buttons;  // by DIK code or button
        bool pending = false;      // the next successful read holds over what is down then
    };
    HeldOver& HeldOverOf(DWORD bit);
    // After a successful read of the device of `bit` into its state: what is down is held over
    // when `holdOver` or pending, and so is an Enter that went down with Alt held; a released
    // key or button is held over no more, and those still held over read as up.
    void FilterHeldOver(DWORD bit, bool holdOver);

    HeldOver keysHeldOver_;
    HeldOver mouseButtonsHeldOver_;
    HeldOver padButtonsHeldOver_;
};

extern DIApplication* gDIApplication;

// Destroys any previous instance, makes a new one and initialises it; on failure the global
// pointer is null again.
HRESULT CreateDIApplication(HINSTANCE instance);
void DestroyDIApplication();

// The text of a DI8DEVTYPE_* value as the device log names it ("game pad", "unknown", ...).
const char* DIDeviceTypeText(BYTE type);
