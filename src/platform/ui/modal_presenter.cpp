// The modal loop of a drawn dialog: input to ImGui, frames, the deferred control actions, and
// the picture on the dialog's own device or over its owner's frame.

#include <imgui.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/d3d9/present_overlay.h"
#include "platform/ui/dialog_view.h"
#include "platform/ui/imgui_renderer.h"
#include "platform/ui/ui_font.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/ui_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"

namespace ui_internal {
namespace {

struct Session {
    HWND dialog = nullptr;
    HWND surface = nullptr;  // the window whose device shows the dialog
    bool ownWindow = false;
    IDirect3DDevice9* device = nullptr;  // the device the textures were made on
    IDirect3D9* direct3D = nullptr;      // an own window's
    IDirect3DTexture9* font = nullptr;
    int fontGeneration = -1;
    IconTextures icons;
    std::vector<IDirect3DTexture9*> iconTextures;
    std::vector<MSG> input;
    DrawnFrame frame;
};

std::vector<Session*> sessions;
// Tests draw on a headless display (golden images).
bool drawHeadless = false;

void ReleaseTextures(Session& s) {
    if (s.font != nullptr) {
        s.font->Release();
        s.font = nullptr;
    }
    for (IDirect3DTexture9* texture : s.iconTextures) {
        texture->Release();
    }
    s.iconTextures.clear();
    s.icons.clear();
    s.fontGeneration = -1;
}

// The textures of the session on `device`: the font atlas and the dialog's icons.
void PrepareTextures(Session& s, IDirect3DDevice9* device) {
    BuildFontAtlas();
    if (s.device != device || s.fontGeneration != FontAtlasGeneration()) {
        ReleaseTextures(s);
        s.device = device;
        unsigned char* pixels = nullptr;
        int width = 0;
        int height = 0;
        ImGui::GetIO().Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        s.font = MakeTextureRgba(device, pixels, width, height);
        s.fontGeneration = FontAtlasGeneration();
    }
}

void AddIconTextures(Session& s, HWND window) {
    for (HWND child : win32_internal::ChildWindowsOf(window)) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        const std::uint32_t* pixels = icon != nullptr ? Win32IconPixels(icon) : nullptr;
        if (pixels != nullptr && s.device != nullptr && s.icons.count(icon) == 0) {
            if (IDirect3DTexture9* texture =
                    MakeTextureArgb(s.device, pixels, kIconSize, kIconSize)) {
                s.iconTextures.push_back(texture);
                s.icons[icon] = texture;
            }
        }
        AddIconTextures(s, child);
    }
}

POINT DialogOrigin(const Session& s) {
    if (s.ownWindow) {
        return POINT{0, 0};
    }
    POINT dialog{0, 0};
    ClientToScreen(s.dialog, &dialog);
    POINT surface{0, 0};
    ClientToScreen(s.surface, &surface);
    return POINT{dialog.x - surface.x, dialog.y - surface.y};
}

void ApplyInput(Session& s, const MSG& message) {
    ImGuiIO& io = ImGui::GetIO();
    const POINT origin = DialogOrigin(s);
    switch (message.message) {
        case WM_MOUSEMOVE: {
            const int x = GET_X_LPARAM(message.lParam);
            const int y = GET_Y_LPARAM(message.lParam);
            io.MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
            Win32PointInDialog(s.dialog, POINT{x - origin.x, y - origin.y}, message.wParam);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: {
            const int button =
                message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP ? 0 : 1;
            io.MousePos = ImVec2(static_cast<float>(GET_X_LPARAM(message.lParam)),
                                 static_cast<float>(GET_Y_LPARAM(message.lParam)));
            io.MouseDown[button] =
                message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN;
            break;
        }
        case WM_MOUSEWHEEL:
            io.MouseWheel += static_cast<float>(GET_WHEEL_DELTA_WPARAM(message.wParam)) / 120.0f;
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (message.wParam < 512) {
                io.KeysDown[message.wParam] = message.message == WM_KEYDOWN;
            }
            break;
        case WM_CHAR:
            if (message.wParam >= 0x20 && message.wParam < 0x7F) {
                io.AddInputCharacter(static_cast<unsigned int>(message.wParam));
            }
            break;
        default:
            break;
    }
}

void RunFrame(Session& s, bool last) {
    ImGuiIO& io = ImGui::GetIO();
    RECT client{};
    GetClientRect(s.surface, &client);
    io.DisplaySize = ImVec2(static_cast<float>(client.right), static_cast<float>(client.bottom));
    io.DeltaTime = 1.0f / 60.0f;
    BuildFontAtlas();
    ImGui::NewFrame();
    DialogView::Actions actions;
    const POINT origin = DialogOrigin(s);
    DialogView::Build(s.dialog, ImVec2(static_cast<float>(origin.x), static_cast<float>(origin.y)),
                      !s.ownWindow, s.icons, &actions);
    if (last) {
        ImGui::Render();
        s.frame = CopyDrawData(ImGui::GetDrawData(), 0.0f, 0.0f);
    } else {
        ImGui::EndFrame();
    }
    for (auto& action : actions) {
        action();
    }
}

void Present(Session& s) {
    if (!s.ownWindow) {
        // The owner's next presented frame carries the dialog (PresentOverlay).
        InvalidateRect(s.surface, nullptr, FALSE);
        return;
    }
    if (s.device == nullptr) {
        return;
    }
    s.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFF0F0F0u, 1.0f, 0);
    s.device->BeginScene();
    DrawFrame(s.device, s.frame, s.font);
    s.device->EndScene();
    s.device->Present(nullptr, nullptr, nullptr, nullptr);
}

bool TakeInput(const MSG& message, void* context) {
    auto& s = *static_cast<Session*>(context);
    if (message.hwnd != s.surface && message.hwnd != s.dialog) {
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        PostMessageA(s.dialog, WM_CLOSE, 0, 0);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        !ImGui::GetIO().WantTextInput) {
        const LRESULT id = SendMessageA(s.dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(static_cast<std::uintptr_t>(id)) == DC_HASDEFID) {
            Win32ClickControl(GetDlgItem(s.dialog, LOWORD(static_cast<std::uintptr_t>(id))));
        }
        return true;
    }
    s.input.push_back(message);
    return true;
}

void Refresh(bool changed, void* context) {
    auto& s = *static_cast<Session*>(context);
    if (!changed && s.input.empty() && !s.frame.lists.empty()) {
        return;
    }
    IDirect3DDevice9* device =
        s.ownWindow ? s.device : d3d9_internal::FindDeviceOfWindow(s.surface);
    if (device != nullptr) {
        PrepareTextures(s, device);
        AddIconTextures(s, s.dialog);
    }
    std::vector<MSG> input;
    input.swap(s.input);
    for (const MSG& message : input) {
        ApplyInput(s, message);
        RunFrame(s, false);
    }
    // A second frame shows what the actions changed.
    RunFrame(s, false);
    RunFrame(s, true);
    Present(s);
}

bool UserPresent(void* context) {
    auto& s = *static_cast<Session*>(context);
    return Win32GetSdlWindow(s.surface) != nullptr && !win32_internal::SdlVideoIsHeadless();
}

// A device of its own for a dialog that is a desktop window.
bool MakeOwnDevice(Session& s) {
    s.direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (s.direct3D == nullptr) {
        return false;
    }
    RECT client{};
    GetClientRect(s.dialog, &client);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(client.right);
    parameters.BackBufferHeight = static_cast<UINT>(client.bottom);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = s.dialog;
    parameters.Windowed = TRUE;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(s.direct3D->CreateDevice(0, D3DDEVTYPE_HAL, s.dialog,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                        &device))) {
        return false;
    }
    s.device = device;
    return true;
}

void ReleaseSession(Session& s) {
    ReleaseTextures(s);
    if (s.ownWindow && s.device != nullptr) {
        s.device->Release();
    }
    s.device = nullptr;
    if (s.direct3D != nullptr) {
        s.direct3D->Release();
        s.direct3D = nullptr;
    }
}

bool RunDialog(HWND dialog, const bool* ended) {
    EnsureUiContext();
    if (win32_internal::SdlVideoIsHeadless() && !drawHeadless) {
        return false;  // no one would see it: the plain loop answers it
    }
    Session s;
    s.dialog = dialog;
    HWND owner = GetParent(dialog);
    s.ownWindow = owner == nullptr;
    s.surface = s.ownWindow ? dialog : owner;
    if (s.ownWindow) {
        if (!MakeOwnDevice(s)) {
            ReleaseSession(s);
            return false;
        }
    } else if (d3d9_internal::FindDeviceOfWindow(owner) == nullptr) {
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
    ReleaseSession(s);
    if (!s.ownWindow) {
        InvalidateRect(owner, nullptr, FALSE);
    }
    return true;
}

// Over a window's presented frame: the dialogs drawn inside it, innermost last.
void Overlay(IDirect3DDevice9* device, HWND window) {
    for (Session* s : sessions) {
        if (s->ownWindow || s->surface != window) {
            continue;
        }
        PrepareTextures(*s, device);
        DrawFrame(device, s->frame, s->font);
    }
}

const win32_internal::UiHooks kHooks = [] {
    win32_internal::UiHooks hooks;
    hooks.runDialog = RunDialog;
    return hooks;
}();

}  // namespace
}  // namespace ui_internal

namespace ui {

void InstallUiPresentation() {
    win32_internal::SetUiHooks(&ui_internal::kHooks);
    d3d9_internal::SetPresentOverlay(ui_internal::Overlay);
}

void DrawOnHeadlessDisplay(bool draw) {
    ui_internal::drawHeadless = draw;
}

void RemoveUiPresentation() {
    win32_internal::SetUiHooks(nullptr);
    d3d9_internal::SetPresentOverlay(nullptr);
}

}  // namespace ui
