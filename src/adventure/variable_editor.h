#pragma once
// The developer's variable editor: a window of its own beside the game (dialog 114) listing the
// script variables by number with their names and comments from "variable.txt" of the script
// folder, refreshed whenever the script has run; a double click on a row edits that variable's
// value in dialog 153. It opens when "plovanet" is typed during play while the display runs in
// a window.
//
// "variable.txt" (Shift-JIS): tokens split at CR, LF and tab; everything up to the first token
// that is exactly "var" is skipped. Then each run of letters, digits and "_" names the next
// variable (the first variable 0), until the name "end". Blanks and tabs after a name, then a
// "/", make the rest of the line (after all "/", blanks and tabs) the name's comment; a "/"
// anywhere else starts a comment to the end of the line. Other characters are ignored.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/dialog_api.h"

constexpr WORD kVariableListResource = 114;
constexpr WORD kVariableValueResource = 153;
constexpr int kVariableListControl = 1004;
constexpr int kVariableValueField = 1200;

// The open editor window, or null.
extern HWND VariableEditorWindow;

struct VariableNames {
    std::vector<std::string> names;     // names[i] names script variable i
    std::vector<std::string> comments;  // empty when the name has none
};

// The names and comments of a "variable.txt" text; the text ends at its first NUL.
VariableNames ReadVariableNames(std::string_view text);

// Opens the editor when the display runs in a window (or there is no device), none is open,
// and the word "plovanet" was typed or `force` is set.
void OpenVariableEditor(int force);

// Sends an open editor WM_USER, on which it reads the variables again.
void RefreshVariableEditor();

// Dialog 114: the list of variables. WM_USER sets every row's values anew; closing destroys it.
INT_PTR VariableEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog 153: the value of the variable whose number is the parameter, written on "OK" when it
// is a signed 32-bit number (anything else is refused and the dialog stays). Ends with 1 when
// written, 0 otherwise.
INT_PTR VariableValueProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The VM's hook after every label lookup: empties SpeakerName; false when the label was not
// found (position kNoPosition); otherwise refreshes an open editor and answers true.
bool OnLabelFound(const char* name, std::uint32_t position);
