// The modal loop of a drawn dialog: input to ImGui, frames, the deferred control actions, and
// the picture on the dialog's own device or over its owner's frame.

#include <imgui.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/d3d9/present_overlay.h"
#include "platform/ui/device_textures.h"
#include "platform/ui/dialog_session.h"
#include "platform/ui/dialog_view.h"
#include "platform/ui/drawn_windows.h"
#include "platform/ui/imgui_renderer.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/ui_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace ui_internal {
namespace {

std::vector<DialogSession*> sessions;

bool TakeInput(const MSG& message, void* context) {
    auto& s = *static_cast<DialogSession*>(context);
    if (message.hwnd != s.surface && message.hwnd != s.dialog) {
        return false;
    }
    s.input.push_back(message);
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        RunInputFrames(s);  // while the keyboard's state is the key's
    }
    return true;
}

// Brings the picture up to date. An own window is presented again after any message (it may
// have been uncovered); over an owner the owner is repainted only when the picture changed, as
// its repainting is itself a message.
void Refresh(bool changed, void* context) {
    auto& s = *static_cast<DialogSession*>(context);
    if (!changed && s.input.empty() && !s.frame.lists.empty()) {
        return;
    }
    const DrawnFrame before = s.frame;
    RunInputFrames(s);
    RenderDialogStable(s, true);
    if (s.ownWindow || before.lists.empty() || !SameFrame(before, s.frame)) {
        PresentDialog(s);
    }
}

bool UserPresent(void* context) {
    auto& s = *static_cast<DialogSession*>(context);
    return Win32GetSdlWindow(s.surface) != nullptr && !DrawingUnseen();
}

}  // namespace

bool RunDialog(HWND dialog, const bool* ended) {
    EnsureUiContext();
    HWND owner = GetParent(dialog);
    if (owner != nullptr ? !DrawsOver(SurfaceOf(owner)) : DrawingUnseen()) {
        return false;  // no one would see it: the plain loop answers it
    }
    DialogSession s;
    s.dialog = dialog;
    s.ownWindow = owner == nullptr;
    s.surface = s.ownWindow ? dialog : SurfaceOf(owner);
    if (s.ownWindow && !MakeDialogDevice(s)) {
        ReleaseDialogSession(s);
        return false;
    }
    sessions.push_back(&s);
    win32_internal::ModalPresenter presenter;
    presenter.takeInput = TakeInput;
    presenter.refresh = Refresh;
    presenter.userPresent = UserPresent;
    presenter.context = &s;
    win32_internal::ModalLoop loop;
    loop.done = ended;
    loop.modalWindow = dialog;
    loop.presenter = &presenter;
    loop.context = dialog;
    loop.showArrow = !s.ownWindow;
    loop.unattended = [](void* context) {
        const LRESULT id = SendMessageA(static_cast<HWND>(context), DM_GETDEFID, 0, 0);
        std::fprintf(stderr,
                     "dialog: no one to answer it on this display; its default button "
                     "answers\n");
        if (HIWORD(static_cast<std::uintptr_t>(id)) == DC_HASDEFID) {
            Win32ClickControl(
                GetDlgItem(static_cast<HWND>(context), LOWORD(static_cast<std::uintptr_t>(id))));
        } else {
            SendMessageA(static_cast<HWND>(context), WM_CLOSE, 0, 0);
        }
    };
    loop.abandon = [](void* context) { EndDialog(static_cast<HWND>(context), 2); };
    win32_internal::RunModalLoop(loop);
    std::erase(sessions, &s);
    ReleaseDialogSession(s);
    if (!s.ownWindow) {
        InvalidateRect(s.surface, nullptr, FALSE);
    }
    return true;
}

bool RefreshDialogFramesOver(HWND window) {
    for (DialogSession* s : sessions) {
        if (!s->ownWindow && s->surface == window &&
            s->frame.atlasGeneration != FontAtlasGeneration()) {
            RunDialogFrame(*s, true, false);
        }
    }
    return !FontAtlasDirty();
}

void DrawDialogsOver(IDirect3DDevice9* device, HWND window, IDirect3DTexture9* font,
                     float offsetY) {
    for (DialogSession* s : sessions) {
        if (!s->ownWindow && s->surface == window) {
            DrawFrame(device, s->frame, font, offsetY);
        }
    }
}

}  // namespace ui_internal
