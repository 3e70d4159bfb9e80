// What the presentation keeps on a device goes with the device, so that nothing of it outlives
// the device it drew on (the game's device at the program's end, a dialog's own device).

#include <gtest/gtest.h>

#include "platform/d3d9/d3d9.h"
#include "platform/ui/device_textures.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"

namespace {

constexpr WORD kAsteriskIcon = 32516;

TEST(DeviceTexturesTest, KeptTexturesAreReleasedWithTheirDevice) {
    ui::InstallUiPresentation();
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    // A window handle the device may hold: nothing is presented.
    static int windowAnchor;
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 64;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = reinterpret_cast<HWND>(&windowAnchor);
    parameters.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_HAL, parameters.hDeviceWindow,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device),
              D3D_OK);
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(kAsteriskIcon));
    struct Kept {
        const char* name;
        IDirect3DTexture9* texture;
    };
    const Kept kept[] = {
        {"the font atlas", ui_internal::FontTexture(device)},
        {"an icon", ui_internal::IconTexture(device, icon)},
    };
    for (const Kept& k : kept) {
        ASSERT_NE(k.texture, nullptr) << k.name;
        k.texture->AddRef();
    }
    EXPECT_EQ(device->Release(), 0u);
    for (const Kept& k : kept) {
        EXPECT_EQ(k.texture->Release(), 0u) << k.name << " is still kept after its device went";
    }
    DestroyIcon(icon);
    direct3D->Release();
    ui::RemoveUiPresentation();
}

}  // namespace
