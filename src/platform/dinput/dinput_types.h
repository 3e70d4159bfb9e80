#pragma once
// The types, constants, result codes and GUIDs of our DirectInput 8. Only the subset the game uses
// is declared; the values are those the game and its stored settings rely on.

#include <cstddef>

#include "platform/winbase/shell_path.h"
#include "platform/winbase/win_types.h"

constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

// Results. Several codes share a value, as the game expects.
constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_NOTATTACHED = S_FALSE;
constexpr HRESULT DI_BUFFEROVERFLOW = S_FALSE;
constexpr HRESULT DI_PROPNOEFFECT = S_FALSE;
constexpr HRESULT DI_NOEFFECT = S_FALSE;
constexpr HRESULT DI_POLLEDDEVICE = 2;
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_NOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DIERR_GENERIC = E_FAIL;
constexpr HRESULT DIERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DIERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DIERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = E_ACCESSDENIED;
constexpr HRESULT DIERR_READONLY = E_ACCESSDENIED;
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_NOTBUFFERED = static_cast<HRESULT>(0x80040207u);
constexpr HRESULT DIERR_UNPLUGGED = static_cast<HRESULT>(0x80040209u);

// Enumeration callbacks answer one of these.
constexpr BOOL DIENUM_STOP = 0;
constexpr BOOL DIENUM_CONTINUE = 1;

// Device classes for EnumDevices.
constexpr DWORD DI8DEVCLASS_ALL = 0;
constexpr DWORD DI8DEVCLASS_DEVICE = 1;
constexpr DWORD DI8DEVCLASS_POINTER = 2;
constexpr DWORD DI8DEVCLASS_KEYBOARD = 3;
constexpr DWORD DI8DEVCLASS_GAMECTRL = 4;

// EnumDevices flags.
constexpr DWORD DIEDFL_ALLDEVICES = 0x00000000;
constexpr DWORD DIEDFL_ATTACHEDONLY = 0x00000001;
constexpr DWORD DIEDFL_FORCEFEEDBACK = 0x00000100;

// Device types: the low byte of dwDevType; the subtype is the second byte.
constexpr BYTE DI8DEVTYPE_DEVICE = 0x11;
constexpr BYTE DI8DEVTYPE_MOUSE = 0x12;
constexpr BYTE DI8DEVTYPE_KEYBOARD = 0x13;
constexpr BYTE DI8DEVTYPE_JOYSTICK = 0x14;
constexpr BYTE DI8DEVTYPE_GAMEPAD = 0x15;
constexpr BYTE DI8DEVTYPE_DRIVING = 0x16;
constexpr BYTE DI8DEVTYPE_FLIGHT = 0x17;
constexpr BYTE DI8DEVTYPE_1STPERSON = 0x18;
constexpr BYTE DI8DEVTYPE_SCREENPOINTER = 0x1A;
constexpr BYTE DI8DEVTYPE_REMOTE = 0x1B;
constexpr BYTE DI8DEVTYPE_SUPPLEMENTAL = 0x1C;
constexpr BYTE DI8DEVTYPEMOUSE_TRADITIONAL = 2;
constexpr BYTE DI8DEVTYPEKEYBOARD_PCENH = 4;
constexpr BYTE DI8DEVTYPEJOYSTICK_STANDARD = 2;
constexpr BYTE DI8DEVTYPEGAMEPAD_STANDARD = 2;
constexpr BYTE DI8DEVTYPEDRIVING_COMBINEDPEDALS = 2;
constexpr BYTE DI8DEVTYPEFLIGHT_STICK = 2;
constexpr BYTE GET_DIDEVICE_TYPE(DWORD devType) {
    return static_cast<BYTE>(devType & 0xFF);
}
constexpr BYTE GET_DIDEVICE_SUBTYPE(DWORD devType) {
    return static_cast<BYTE>((devType >> 8) & 0xFF);
}

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
constexpr DWORD DISCL_FOREGROUND = 0x00000004;
constexpr DWORD DISCL_BACKGROUND = 0x00000008;
constexpr DWORD DISCL_NOWINKEY = 0x00000010;

// DIDEVCAPS flags.
constexpr DWORD DIDC_ATTACHED = 0x00000001;
constexpr DWORD DIDC_POLLEDDEVICE = 0x00000002;
constexpr DWORD DIDC_POLLEDDATAFORMAT = 0x00000008;

// Object types: the low byte says what an object is, bits 8..23 its instance number.
constexpr DWORD DIDFT_ALL = 0x00000000;
constexpr DWORD DIDFT_RELAXIS = 0x00000001;
constexpr DWORD DIDFT_ABSAXIS = 0x00000002;
constexpr DWORD DIDFT_AXIS = 0x00000003;
constexpr DWORD DIDFT_PSHBUTTON = 0x00000004;
constexpr DWORD DIDFT_TGLBUTTON = 0x00000008;
constexpr DWORD DIDFT_BUTTON = 0x0000000C;
constexpr DWORD DIDFT_POV = 0x00000010;
constexpr DWORD DIDFT_ANYINSTANCE = 0x00FFFF00;
constexpr DWORD DIDFT_INSTANCEMASK = DIDFT_ANYINSTANCE;
constexpr DWORD DIDFT_OPTIONAL = 0x80000000;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) {
    return (n & 0xFFFF) << 8;
}
constexpr DWORD DIDFT_GETINSTANCE(DWORD type) {
    return (type >> 8) & 0xFFFF;
}
constexpr DWORD DIDFT_GETTYPE(DWORD type) {
    return type & 0xFF;
}

// DIDATAFORMAT flags.
constexpr DWORD DIDF_ABSAXIS = 0x00000001;
constexpr DWORD DIDF_RELAXIS = 0x00000002;

// GetDeviceData flag: read without removing.
constexpr DWORD DIGDD_PEEK = 0x00000001;

// How a property header names its object.
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPH_BYID = 2;
constexpr DWORD DIPH_BYUSAGE = 3;

// Property identifiers. Each is a GUID whose first member holds the property number, so that
// SetProperty and GetProperty take them as `REFGUID` as the game's calls expect.
constexpr GUID MAKEDIPROP(DWORD number) {
    return GUID{number, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
}
inline constexpr GUID DIPROP_BUFFERSIZE = MAKEDIPROP(1);
inline constexpr GUID DIPROP_GRANULARITY = MAKEDIPROP(3);
inline constexpr GUID DIPROP_RANGE = MAKEDIPROP(4);
inline constexpr GUID DIPROP_DEADZONE = MAKEDIPROP(5);
inline constexpr GUID DIPROP_JOYSTICKID = MAKEDIPROP(15);

// The wheel of a mouse moves its z axis by this much per notch.
constexpr LONG WHEEL_DELTA = 120;

// A centred point-of-view hat reads this; otherwise hundredths of a degree clockwise from north.
constexpr DWORD DI_POV_CENTERED = 0xFFFFFFFF;

// Device and object GUIDs.
inline constexpr GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_XAxis = {
    0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_YAxis = {
    0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_ZAxis = {
    0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RzAxis = {
    0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Slider = {
    0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Button = {
    0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_POV = {
    0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RxAxis = {
    0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RyAxis = {
    0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Key = {
    0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr GUID IID_IDirectInputDevice8A = {
    0x54D41080, 0xDC15, 0x4833, {0xA4, 0x1B, 0x74, 0x8F, 0x73, 0xA3, 0x81, 0x79}};

struct DIDEVCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwDevType;
    DWORD dwAxes;
    DWORD dwButtons;
    DWORD dwPOVs;
    DWORD dwFFSamplePeriod;
    DWORD dwFFMinTimeResolution;
    DWORD dwFirmwareRevision;
    DWORD dwHardwareRevision;
    DWORD dwFFDriverVersion;
};
using LPDIDEVCAPS = DIDEVCAPS*;

struct DIDEVICEINSTANCEA {
    DWORD dwSize;
    GUID guidInstance;
    GUID guidProduct;
    DWORD dwDevType;
    CHAR tszInstanceName[MAX_PATH];  // Shift-JIS
    CHAR tszProductName[MAX_PATH];   // Shift-JIS
    GUID guidFFDriver;
    WORD wUsagePage;
    WORD wUsage;
};
using LPDIDEVICEINSTANCEA = DIDEVICEINSTANCEA*;
using LPCDIDEVICEINSTANCEA = const DIDEVICEINSTANCEA*;

struct DIDEVICEOBJECTINSTANCEA {
    DWORD dwSize;
    GUID guidType;
    DWORD dwOfs;  // offset of the object in the device's data format
    DWORD dwType;
    DWORD dwFlags;
    CHAR tszName[MAX_PATH];
    DWORD dwFFMaxForce;
    DWORD dwFFForceResolution;
    WORD wCollectionNumber;
    WORD wDesignatorIndex;
    WORD wUsagePage;
    WORD wUsage;
    DWORD dwDimension;
    WORD wExponent;
    WORD wReportId;
};
using LPCDIDEVICEOBJECTINSTANCEA = const DIDEVICEOBJECTINSTANCEA*;

struct DIPROPHEADER {
    DWORD dwSize;        // size of the whole property structure
    DWORD dwHeaderSize;  // sizeof(DIPROPHEADER)
    DWORD dwObj;         // 0, a data-format offset or an object type id, by dwHow
    DWORD dwHow;         // DIPH_*
};
using LPDIPROPHEADER = DIPROPHEADER*;
using LPCDIPROPHEADER = const DIPROPHEADER*;

struct DIPROPDWORD {
    DIPROPHEADER diph;
    DWORD dwData;
};

struct DIPROPRANGE {
    DIPROPHEADER diph;
    LONG lMin;
    LONG lMax;
};

// One buffered input event: the object's offset in the data format and its new value (a key or
// button byte, a relative axis movement or an absolute axis position).
struct DIDEVICEOBJECTDATA {
    DWORD dwOfs;
    DWORD dwData;
    DWORD dwTimeStamp;  // milliseconds
    DWORD dwSequence;   // increases by one with every event of any device
    UINT_PTR uAppData;
};
using LPDIDEVICEOBJECTDATA = DIDEVICEOBJECTDATA*;

struct DIMOUSESTATE {
    LONG lX;  // movement since the last read
    LONG lY;
    LONG lZ;  // wheel, WHEEL_DELTA per notch, positive away from the user
    BYTE rgbButtons[4];
};

struct DIMOUSESTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[8];
};

struct DIJOYSTATE {
    LONG lX;
    LONG lY;
    LONG lZ;
    LONG lRx;
    LONG lRy;
    LONG lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[32];
};

struct DIJOYSTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    LONG lRx;
    LONG lRy;
    LONG lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[128];
    LONG lVX;
    LONG lVY;
    LONG lVZ;
    LONG lVRx;
    LONG lVRy;
    LONG lVRz;
    LONG rglVSlider[2];
    LONG lAX;
    LONG lAY;
    LONG lAZ;
    LONG lARx;
    LONG lARy;
    LONG lARz;
    LONG rglASlider[2];
    LONG lFX;
    LONG lFY;
    LONG lFZ;
    LONG lFRx;
    LONG lFRy;
    LONG lFRz;
    LONG rglFSlider[2];
};

static_assert(sizeof(DIMOUSESTATE) == 16 && sizeof(DIMOUSESTATE2) == 20);
static_assert(sizeof(DIJOYSTATE) == 80 && sizeof(DIJOYSTATE2) == 272);

// Offsets of the objects in the mouse and joystick data formats.
constexpr DWORD DIMOFS_X = offsetof(DIMOUSESTATE2, lX);
constexpr DWORD DIMOFS_Y = offsetof(DIMOUSESTATE2, lY);
constexpr DWORD DIMOFS_Z = offsetof(DIMOUSESTATE2, lZ);
constexpr DWORD DIMOFS_BUTTON0 = offsetof(DIMOUSESTATE2, rgbButtons);
constexpr DWORD DIJOFS_X = offsetof(DIJOYSTATE2, lX);
constexpr DWORD DIJOFS_Y = offsetof(DIJOYSTATE2, lY);
constexpr DWORD DIJOFS_Z = offsetof(DIJOYSTATE2, lZ);
constexpr DWORD DIJOFS_RX = offsetof(DIJOYSTATE2, lRx);
constexpr DWORD DIJOFS_RY = offsetof(DIJOYSTATE2, lRy);
constexpr DWORD DIJOFS_RZ = offsetof(DIJOYSTATE2, lRz);
constexpr DWORD DIJOFS_SLIDER(DWORD n) {
    return static_cast<DWORD>(offsetof(DIJOYSTATE2, rglSlider)) + n * sizeof(LONG);
}
constexpr DWORD DIJOFS_POV(DWORD n) {
    return static_cast<DWORD>(offsetof(DIJOYSTATE2, rgdwPOV)) + n * sizeof(DWORD);
}
constexpr DWORD DIJOFS_BUTTON(DWORD n) {
    return static_cast<DWORD>(offsetof(DIJOYSTATE2, rgbButtons)) + n;
}

// A data format: the size of the state a device fills and the objects it holds.
struct DIOBJECTDATAFORMAT {
    const GUID* pguid;  // object kind, or null for any
    DWORD dwOfs;
    DWORD dwType;  // DIDFT_* with an instance number or DIDFT_ANYINSTANCE
    DWORD dwFlags;
};

struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;     // DIDF_ABSAXIS or DIDF_RELAXIS
    DWORD dwDataSize;  // bytes of the state, a multiple of 4
    DWORD dwNumObjs;
    const DIOBJECTDATAFORMAT* rgodf;
};
using LPCDIDATAFORMAT = const DIDATAFORMAT*;

// The five formats the game can choose: a 256-byte keyboard state, DIMOUSESTATE, DIMOUSESTATE2,
// DIJOYSTATE and DIJOYSTATE2.
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse;
extern const DIDATAFORMAT c_dfDIMouse2;
extern const DIDATAFORMAT c_dfDIJoystick;
extern const DIDATAFORMAT c_dfDIJoystick2;

using LPDIENUMDEVICESCALLBACKA = BOOL (*)(LPCDIDEVICEINSTANCEA device, LPVOID context);
using LPDIENUMDEVICEOBJECTSCALLBACKA = BOOL (*)(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context);
