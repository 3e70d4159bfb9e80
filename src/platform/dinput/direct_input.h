#pragma once
// Our DirectInput 8: the input object that lists and creates devices, and the device object that
// reads the keyboard, the mouse or a game pad. Input comes from the installed input backend
// (input_backend.h): by default the SDL event pump of the Windows layer and SDL's joysticks.

#include "platform/dinput/dik_codes.h"
#include "platform/dinput/dinput_types.h"
#include "platform/winbase/win_types.h"

struct IDirectInputDevice8A : IUnknown {
    virtual HRESULT GetCapabilities(LPDIDEVCAPS caps) = 0;
    // Lists the device's objects whose type matches `flags` (DIDFT_*; DIDFT_ALL for every one).
    virtual HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                                DWORD flags) = 0;
    virtual HRESULT GetProperty(REFGUID property, LPDIPROPHEADER header) = 0;
    virtual HRESULT SetProperty(REFGUID property, LPCDIPROPHEADER header) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // Copies the current state in the device's data format; `size` must be the format's size.
    virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;
    // Reads buffered events (DIPROP_BUFFERSIZE). In: the room in `data`; out: the events taken.
    // A null `data` with DIGDD_PEEK counts the events; without it, discards them.
    virtual HRESULT GetDeviceData(DWORD objectDataSize, LPDIDEVICEOBJECTDATA data, LPDWORD inOut,
                                  DWORD flags) = 0;
    virtual HRESULT SetDataFormat(LPCDIDATAFORMAT format) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT GetDeviceInfo(LPDIDEVICEINSTANCEA instance) = 0;
    virtual HRESULT Poll() = 0;
};
using LPDIRECTINPUTDEVICE8A = IDirectInputDevice8A*;
using IDirectInputDevice8 = IDirectInputDevice8A;
using LPDIRECTINPUTDEVICE8 = IDirectInputDevice8A*;

struct IDirectInput8A : IUnknown {
    // `guid`: GUID_SysKeyboard, GUID_SysMouse or the instance GUID of an attached game pad.
    virtual HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, IUnknown* outer) = 0;
    // `deviceType`: a DI8DEVCLASS_* or a DI8DEVTYPE_*; `flags`: DIEDFL_*.
    virtual HRESULT EnumDevices(DWORD deviceType, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                                DWORD flags) = 0;
};
using LPDIRECTINPUT8A = IDirectInput8A*;
using IDirectInput8 = IDirectInput8A;
using LPDIRECTINPUT8 = IDirectInput8A*;

// Makes the input object. `version` must be DIRECTINPUT_VERSION and `iid` IID_IDirectInput8A;
// aggregation is not supported.
HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out,
                           IUnknown* outer);

// The activation of the application, set by the Windows layer as its windows gain or lose the
// focus (active at start). A foreground device gives input only while its cooperative window is
// the active window: otherwise (the program inactive, or another of its windows active) Acquire,
// GetDeviceState and GetDeviceData answer DIERR_OTHERAPPHASPRIO, and devices acquired before
// lose their acquisition (DIERR_INPUTLOST until acquired again). DInputSetAppActive sets the
// program's activity alone, with no window known as the active one.
void DInputSetAppActive(bool active);
// The program's active window, null when the program is not active.
void DInputSetActiveWindow(HWND window);
bool DInputIsAppActive();
