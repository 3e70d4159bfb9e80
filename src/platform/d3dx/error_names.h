#pragma once
// Symbolic names of result codes, for log lines of the form "%s: %s".

#include "platform/winbase/win_types.h"

// The name of `result` ("D3DERR_DEVICELOST", "E_FAIL", "S_OK"...), or "Unknown" for a code
// outside the table. Where two names share one value, the generic one is given.
LPCSTR DXGetErrorString9(HRESULT result);
