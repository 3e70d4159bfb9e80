#pragma once
// GUIDs of game pads, derived from the joystick GUID the system reports, so that a pad keeps its
// instance GUID from one run to the next (the game stores it in its settings).

#include <array>

#include "platform/winbase/win_types.h"

// The product GUID: the same for every pad of one model.
GUID PadProductGuid(const std::array<BYTE, 16>& joystickGuid);
// The instance GUID of the `ordinal`th attached pad (from 0) of that model.
GUID PadInstanceGuid(const std::array<BYTE, 16>& joystickGuid, int ordinal);
