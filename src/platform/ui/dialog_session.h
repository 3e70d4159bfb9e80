#pragma once
// Internal to the presentation: a dialog being drawn, modal (modal_presenter.cpp) or modeless
// (modeless_session.cpp): its ImGui frames, the actions they leave, and its picture on a device
// of its own (a dialog that is a desktop window) or over its owner's frame.

#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/ui/imgui_renderer.h"
#include "platform/win32/message_api.h"

namespace ui_internal {

struct DialogSession {
    HWND dialog = nullptr;
    HWND surface = nullptr;  // the window whose picture shows the dialog
    bool ownWindow = false;
    IDirect3DDevice9* ownDevice = nullptr;
    IDirect3D9* direct3D = nullptr;  // an own window's
    std::vector<MSG> input;          // in the order it came, not yet acted on
    DrawnFrame frame;
};

// The device the dialog is drawn with: its own, or its surface window's.
IDirect3DDevice9* SessionDevice(const DialogSession& s);
// Hands a mouse or key message for the surface or the dialog to ImGui.
void ApplyDialogInput(DialogSession& s, const MSG& message);
// One ImGui frame of the dialog; `last` keeps its picture. The actions of the frame run after
// it (never while ImGui builds a frame), unless `runActions` is false.
void RunDialogFrame(DialogSession& s, bool last, bool runActions = true);
// Acts on the queued input in its order: a key goes to the dialog's keyboard
// (dialog_keyboard.h), and what that leaves (pointer input, typing in a text field) to ImGui, a
// frame for each message and one more to show what the actions changed; false when none was
// queued. A key must be acted on while the keyboard's state is that of its moment (GetKeyState
// answers Shift with it): queue one only just before this runs.
bool RunInputFrames(DialogSession& s);
// The picture frame, built again until the atlas holds every glyph it shows.
void RenderDialogStable(DialogSession& s, bool runActions);
// An own window's picture presented; over an owner, the owner repainted.
void PresentDialog(DialogSession& s);
// A device of the dialog's client size on the dialog window; false when it cannot be made.
bool MakeDialogDevice(DialogSession& s);
void ReleaseDialogSession(DialogSession& s);
// The window whose picture shows a dialog owned by `owner`: the owner's top-level window.
HWND SurfaceOf(HWND owner);

}  // namespace ui_internal
