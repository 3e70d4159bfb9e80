#pragma once
// Internal to the Windows layer: a message box drawn by the presentation over a window that has
// a device, made as a dialog of its own (caption, icon, text, a row of buttons with the answers'
// ids as control ids) and run as a modal dialog, so that the modal loop, the drawing and the
// tests' idle hook treat it as any dialog.

#include <optional>
#include <vector>

#include "platform/winbase/win_types.h"

namespace win32_internal {

struct BoxButtons {
    std::vector<int> answers;  // IDOK ... in the row's order
    int defaultIndex = 0;
    int escapeAnswer = 0;  // the answer of the close button and Escape
};

// The label of an answer's button as the desktop's boxes read, in UTF-8, its mnemonic marked
// with "&" ("はい(&Y)"); a box without mnemonics shows it without the "&".
const char* BoxButtonLabel(int answer);

// The answer, or nullopt when the dialog could not be made. The focus starts on the default
// button.
std::optional<int> ShowDrawnMessageBox(HWND owner, const char* text, const char* caption,
                                       UINT style, const BoxButtons& buttons);

}  // namespace win32_internal
