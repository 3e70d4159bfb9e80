#pragma once
// Internal to the Windows layer: the system's message-box icons (LoadIconA with these ids when
// the program registered no image of its own under them).

#include <cstdint>

#include "platform/winbase/win_types.h"

namespace win32_internal {

constexpr WORD kIconHand = 32513;
constexpr WORD kIconQuestion = 32514;
constexpr WORD kIconExclamation = 32515;
constexpr WORD kIconAsterisk = 32516;

// 32 x 32 A8R8G8B8 pixels of a system icon, null for another id.
const std::uint32_t* SystemIconPixels(WORD id);

}  // namespace win32_internal
