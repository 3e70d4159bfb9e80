#pragma once

#include "platform/winbase/win_types.h"

// The debugger output: standard error, converted from Shift-JIS to UTF-8.
void OutputDebugStringA(LPCSTR text);
