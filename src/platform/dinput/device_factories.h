#pragma once
// Internal to dinput: the three kinds of device object. Each starts with one reference.

#include <memory>
#include <string>

#include "platform/dinput/direct_input.h"
#include "platform/dinput/input_state.h"

IDirectInputDevice8A* CreateKeyboardDevice(std::shared_ptr<InputState> state);
IDirectInputDevice8A* CreateMouseDevice(std::shared_ptr<InputState> state);
// The pad with that instance GUID; it must be attached when the device is made.
IDirectInputDevice8A* CreatePadDevice(std::shared_ptr<InputState> state, const GUID& instance);

// The instance descriptions of the keyboard, the mouse and an attached pad, as EnumDevices and
// GetDeviceInfo give them.
void DescribeKeyboard(DIDEVICEINSTANCEA& instance);
void DescribeMouse(DIDEVICEINSTANCEA& instance);
void DescribePad(const PadRecord& pad, DIDEVICEINSTANCEA& instance);

// Copies a name (UTF-8) into a Shift-JIS field of MAX_PATH bytes, cut at a character boundary;
// characters Shift-JIS lacks become '?'.
void CopyDeviceName(CHAR (&field)[MAX_PATH], const std::string& utf8);
