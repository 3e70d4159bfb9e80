// Modeless top-level dialogs: each is a desktop window of its own with a device of its own. The
// presentation steps into the dialog window's procedure (a subclass): input becomes ImGui
// frames and control actions, and after every message the picture is brought up to date and
// presented when it changed (always after WM_PAINT).

#include <algorithm>
#include <vector>

#include "platform/ui/device_textures.h"
#include "platform/ui/dialog_session.h"
#include "platform/ui/drawn_windows.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace ui_internal {
namespace {

struct ModelessSession : DialogSession {
    WNDPROC previous = nullptr;
};

std::vector<ModelessSession*> modeless;
// A picture is being built: a message that arrives meanwhile (from a control action) is drawn by
// the build under way. A control action that runs a modal dialog over the window keeps the build
// from ending meanwhile: the picture as it stands (its glyphs following the atlas) is presented
// then, with that dialog over it.
bool building = false;

ModelessSession* Find(HWND dialog) {
    auto found = std::find_if(modeless.begin(), modeless.end(),
                              [dialog](const ModelessSession* s) { return s->dialog == dialog; });
    return found != modeless.end() ? *found : nullptr;
}

void Redraw(ModelessSession& s, bool present) {
    if (building) {
        if (present) {
            // The dialog over it may have brought new glyphs: the frame follows the atlas.
            if (s.frame.atlasGeneration != FontAtlasGeneration()) {
                RenderDialogStable(s, false);
            }
            PresentDialog(s);
        }
        return;
    }
    building = true;
    const DrawnFrame before = s.frame;
    RunInputFrames(s);
    RenderDialogStable(s, true);
    building = false;
    if (present || before.lists.empty() || !SameFrame(before, s.frame)) {
        PresentDialog(s);
    }
}

LRESULT ModelessProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ModelessSession* s = Find(dialog);
    if (s == nullptr) {
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
    const WNDPROC previous = s->previous;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        std::erase(modeless, s);
        ReleaseDialogSession(*s);
        delete s;
        return CallWindowProcA(previous, dialog, message, wParam, lParam);
    }
    if (win32_internal::IsInputMessage(message)) {
        s->input.push_back(MSG{dialog, message, wParam, lParam, 0, POINT{}});
        Redraw(*s, false);
        return 0;
    }
    const LRESULT result = CallWindowProcA(previous, dialog, message, wParam, lParam);
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED) {
        // A device of the new size.
        ReleaseDialogSession(*s);
        MakeDialogDevice(*s);
    }
    if (Find(dialog) == s) {
        Redraw(*s, message == WM_PAINT || message == WM_SIZE);
    }
    return result;
}

}  // namespace

bool ShowModeless(HWND dialog) {
    if (DrawingUnseen() || Find(dialog) != nullptr) {
        return false;
    }
    EnsureUiContext();
    auto* s = new ModelessSession;
    s->dialog = dialog;
    s->surface = dialog;
    s->ownWindow = true;
    if (!MakeDialogDevice(*s)) {
        ReleaseDialogSession(*s);
        delete s;
        return false;
    }
    s->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC));
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ModelessProc));
    modeless.push_back(s);
    Redraw(*s, true);
    return true;
}

}  // namespace ui_internal
