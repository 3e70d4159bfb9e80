#pragma once
// Virtual keys by name, as timelines write them: the Windows names without their "VK_" prefix
// (RETURN, CONTROL, SPACE, UP, F3, NUMPAD0, OEM_COMMA...) and a letter for its own key. The digit
// keys have no name, since a number is read as the virtual key itself.

#include <optional>
#include <string_view>

#include "platform/winbase/win_types.h"

// The virtual key of `name` (letters compared without regard to case); nullopt for none.
std::optional<UINT> VirtualKeyOfName(std::string_view name);
