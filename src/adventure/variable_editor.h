#pragma once
// The developer's variable editor: a window beside the game listing the script variables, and
// the label hook of the script VM that keeps it current.

#include <cstdint>

#include "platform/winbase/win_types.h"

// The open editor window, or null.
extern HWND VariableEditorWindow;

// Opens the editor when the display runs in a window (or there is no device), none is open,
// and the word "plovanet" was typed or `force` is set.
void OpenVariableEditor(int force);

// Sends an open editor WM_USER, on which it reads the variables again.
void RefreshVariableEditor();

// The VM's hook after every label lookup: empties SpeakerName; false when the label was not
// found (position kNoPosition); otherwise refreshes an open editor and answers true.
bool OnLabelFound(const char* name, std::uint32_t position);
