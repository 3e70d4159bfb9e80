#include "adventure/variable_editor.h"

#include "adventure/message_window.h"
#include "platform/win32/message_api.h"
#include "script/script_file.h"

HWND VariableEditorWindow = nullptr;

// Stands in until the editor's dialogs exist: nothing opens.
void OpenVariableEditor(int) {}

void RefreshVariableEditor() {
    if (VariableEditorWindow != nullptr) {
        SendMessageA(VariableEditorWindow, WM_USER, 0, 0);
    }
}

bool OnLabelFound(const char*, std::uint32_t position) {
    SpeakerName[0] = '\0';
    if (position == kNoPosition) {
        return false;
    }
    RefreshVariableEditor();
    return true;
}
