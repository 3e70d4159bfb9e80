// Drawing one dialog with ImGui: input, frames, the deferred control actions, the picture.

#include "platform/ui/dialog_session.h"

#include <imgui.h>

#include <cfloat>
#include <cstdint>

#include "platform/d3d9/present_overlay.h"
#include "platform/ui/device_textures.h"
#include "platform/ui/dialog_view.h"
#include "platform/ui/drawn_windows.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_keyboard.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace ui_internal {
namespace {

// Frames built at most per refresh: each may want glyphs the atlas lacks.
constexpr int kAtlasPasses = 3;

// The surface whose coordinates ImGui's pointer is in: the last one a pointer message came for.
// Every dialog shares ImGui's one pointer; on any other surface it points nowhere, so that a
// dialog that opens elsewhere shows nothing under a pointer that never was over it.
HWND pointerSurface = nullptr;

// Where the dialog's client area lies in the surface's window coordinates.
POINT DialogOrigin(const DialogSession& s) {
    POINT dialog{0, 0};
    ClientToScreen(s.dialog, &dialog);
    const POINT window = WindowOrigin(s.surface);
    return POINT{dialog.x - window.x, dialog.y - window.y};
}

// A mouse message's position in the surface's window coordinates.
POINT SurfacePoint(const DialogSession& s, const MSG& message) {
    POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    if (message.hwnd != nullptr) {
        ClientToScreen(message.hwnd, &at);
    }
    const POINT window = WindowOrigin(s.surface);
    return POINT{at.x - window.x, at.y - window.y};
}

}  // namespace

IDirect3DDevice9* SessionDevice(const DialogSession& s) {
    return s.ownWindow ? s.ownDevice : d3d9_internal::FindDeviceOfWindow(s.surface);
}

void ApplyDialogInput(DialogSession& s, const MSG& message) {
    ImGuiIO& io = ImGui::GetIO();
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
        pointerSurface = s.surface;
    }
    switch (message.message) {
        case WM_MOUSEMOVE: {
            const POINT at = SurfacePoint(s, message);
            io.MousePos = ImVec2(static_cast<float>(at.x), static_cast<float>(at.y));
            const POINT origin = DialogOrigin(s);
            Win32PointInDialog(s.dialog, POINT{at.x - origin.x, at.y - origin.y}, message.wParam);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: {
            const int button =
                message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP ? 0 : 1;
            const POINT at = SurfacePoint(s, message);
            io.MousePos = ImVec2(static_cast<float>(at.x), static_cast<float>(at.y));
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
            io.KeyCtrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
            io.KeyShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            io.KeyAlt = (GetKeyState(VK_MENU) & 0x8000) != 0;
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

void RunDialogFrame(DialogSession& s, bool last, bool runActions) {
    ImGuiIO& io = ImGui::GetIO();
    RECT window{};
    GetWindowRect(s.surface, &window);
    io.DisplaySize =
        ImVec2(static_cast<float>(RectWidth(window)), static_cast<float>(RectHeight(window)));
    io.DeltaTime = 1.0f / 60.0f;
    const ImVec2 pointer = io.MousePos;
    if (pointerSurface != s.surface) {
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
    }
    BuildFontAtlas();
    ImGui::NewFrame();
    DialogView::Actions actions;
    const POINT origin = DialogOrigin(s);
    IDirect3DDevice9* device = SessionDevice(s);
    DialogView::Build(
        s.dialog, ImVec2(static_cast<float>(origin.x), static_cast<float>(origin.y)), !s.ownWindow,
        [device](HICON icon) -> ImTextureID {
            return device != nullptr ? IconTexture(device, icon) : nullptr;
        },
        &actions);
    if (last) {
        ImGui::Render();
        s.frame = CopyDrawData(ImGui::GetDrawData(), 0.0f, 0.0f);
    } else {
        ImGui::EndFrame();
    }
    io.MousePos = pointer;
    if (runActions) {
        for (auto& action : actions) {
            action();
        }
    }
}

bool RunInputFrames(DialogSession& s) {
    std::vector<MSG> input;
    input.swap(s.input);
    for (const MSG& message : input) {
        if (Win32DialogKey(s.dialog, message)) {
            continue;
        }
        ApplyDialogInput(s, message);
        RunDialogFrame(s, false);
    }
    if (input.empty()) {
        return false;
    }
    RunDialogFrame(s, false);
    return true;
}

void RenderDialogStable(DialogSession& s, bool runActions) {
    for (int pass = 0; pass < kAtlasPasses; ++pass) {
        RunDialogFrame(s, true, runActions && pass == 0);
        if (!FontAtlasDirty() && s.frame.atlasGeneration == FontAtlasGeneration()) {
            return;
        }
    }
}

void PresentDialog(DialogSession& s) {
    if (!s.ownWindow) {
        // The owner's next presented frame carries the dialog (the overlay).
        InvalidateRect(s.surface, nullptr, FALSE);
        return;
    }
    if (s.ownDevice == nullptr) {
        return;
    }
    IDirect3DTexture9* font = FontTexture(s.ownDevice);
    s.ownDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFF0F0F0u, 1.0f, 0);
    s.ownDevice->BeginScene();
    DrawFrame(s.ownDevice, s.frame, font);
    s.ownDevice->EndScene();
    s.ownDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

bool MakeDialogDevice(DialogSession& s) {
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
    s.ownDevice = device;
    return true;
}

void ReleaseDialogSession(DialogSession& s) {
    if (s.ownDevice != nullptr) {
        s.ownDevice->Release();
        s.ownDevice = nullptr;
    }
    if (s.direct3D != nullptr) {
        s.direct3D->Release();
        s.direct3D = nullptr;
    }
}

HWND SurfaceOf(HWND owner) {
    HWND window = owner;
    for (int depth = 0; window != nullptr && depth < 64; ++depth) {
        if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) {
            return window;
        }
        window = GetParent(window);
    }
    return owner;
}

}  // namespace ui_internal
