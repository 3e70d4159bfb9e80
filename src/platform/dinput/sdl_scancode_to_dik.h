#pragma once
// Internal to dinput: the keyboard's SDL scancodes as DIK codes.

#include <vector>

#include "platform/winbase/win_types.h"

// The DIK code of an SDL scancode, or 0 for a key DirectInput has no code for.
BYTE DikFromSdlScancode(int scancode);
// Every DIK code some scancode gives, ascending, each once.
const std::vector<BYTE>& MappedDikCodes();
// A readable name of the key with that DIK code (SDL's name of its scancode), or "".
const char* DikKeyName(BYTE dik);
