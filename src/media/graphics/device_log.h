#pragma once
// The error line of the device layer: "%s: %s" with the method's log name and the symbolic
// name of the result code.

#include "platform/winbase/win_types.h"

// Writes the line and answers `result` unchanged.
HRESULT LogDeviceError(const char* logName, HRESULT result);
