// The Direct3D object's answers: the checks behind the start-up dialog's choices, modes, caps
// and the adapter identifier.

#include <cstring>
#include <string>

#include "device_fixture.h"

namespace d3d9_tests {
namespace {

using AdapterTest = DeviceTest;

TEST(Direct3DCreate, AnswersOnlyForOurSdkVersion) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(d3d->GetAdapterCount(), 1u);
    EXPECT_EQ(d3d->Release(), 0u);
    EXPECT_EQ(Direct3DCreate9(32), nullptr);
}

TEST_F(AdapterTest, DeviceTypeChecks) {
    struct Case {
        const char* name;
        D3DDEVTYPE type;
        D3DFORMAT adapter;
        D3DFORMAT backBuffer;
        BOOL windowed;
        HRESULT expected;
    };
    const Case cases[] = {
        {"full screen X8R8G8B8", D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE, D3D_OK},
        {"full screen R5G6B5", D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE, D3D_OK},
        {"alpha back buffer on X8 display", D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, FALSE,
         D3D_OK},
        {"mismatched formats", D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, FALSE,
         D3DERR_NOTAVAILABLE},
        {"window in desktop format", D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, TRUE,
         D3D_OK},
        {"window in another format", D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, TRUE,
         D3DERR_NOTAVAILABLE},
        {"reference device", D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE, D3D_OK},
        {"software device type", D3DDEVTYPE_SW, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE,
         D3DERR_NOTAVAILABLE},
        {"not a display format", D3DDEVTYPE_HAL, D3DFMT_A4R4G4B4, D3DFMT_A4R4G4B4, FALSE,
         D3DERR_NOTAVAILABLE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(d3d_->CheckDeviceType(0, c.type, c.adapter, c.backBuffer, c.windowed), c.expected)
            << c.name;
    }
    EXPECT_EQ(d3d_->CheckDeviceType(1, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE),
              D3DERR_INVALIDCALL);
}

TEST_F(AdapterTest, FormatChecksFollowTheTable) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.textureFormats = {D3DFMT_A4R4G4B4, D3DFMT_R5G6B5};
    table.depthFormats = {D3DFMT_D16};
    d3d9_test::SetAdapterTable(table);
    struct Case {
        const char* name;
        DWORD usage;
        D3DRESOURCETYPE type;
        D3DFORMAT format;
        HRESULT expected;
    };
    const Case cases[] = {
        {"texture A8R8G8B8 withdrawn", 0, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8, D3DERR_NOTAVAILABLE},
        {"texture A4R4G4B4", 0, D3DRTYPE_TEXTURE, D3DFMT_A4R4G4B4, D3D_OK},
        {"render-target texture R5G6B5", D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_R5G6B5,
         D3D_OK},
        {"render target A4R4G4B4", D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A4R4G4B4,
         D3DERR_NOTAVAILABLE},
        {"plain surface", 0, D3DRTYPE_SURFACE, D3DFMT_A8R8G8B8, D3D_OK},
        {"depth D16", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16, D3D_OK},
        {"depth D32 withdrawn", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D32,
         D3DERR_NOTAVAILABLE},
        {"compressed texture", 0, D3DRTYPE_TEXTURE, D3DFMT_DXT1, D3DERR_NOTAVAILABLE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            d3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, c.usage, c.type, c.format),
            c.expected)
            << c.name;
    }
    EXPECT_EQ(d3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8,
                                           D3DFMT_D16),
              D3D_OK);
    EXPECT_EQ(d3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8,
                                           D3DFMT_D24X8),
              D3DERR_NOTAVAILABLE);
}

TEST_F(AdapterTest, ModesAndDesktopComeFromTheTable) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.desktop = D3DDISPLAYMODE{1280, 1024, 75, D3DFMT_R5G6B5};
    table.modes = {{800, 600, 60, D3DFMT_X8R8G8B8},
                   {1024, 768, 75, D3DFMT_X8R8G8B8},
                   {800, 600, 60, D3DFMT_R5G6B5}};
    d3d9_test::SetAdapterTable(table);

    EXPECT_EQ(d3d_->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 2u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(0, D3DFMT_R5G6B5), 1u);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.RefreshRate, 75u);
    EXPECT_EQ(d3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 2, &mode), D3DERR_INVALIDCALL);
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(mode.Width, 1280u);
    // A 16-bit desktop runs windows in R5G6B5 only.
    EXPECT_EQ(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, TRUE), D3D_OK);
    EXPECT_EQ(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, TRUE),
              D3DERR_NOTAVAILABLE);

    d3d9_test::ResetAdapterTable();
    const d3d9_test::AdapterTable fixed = d3d9_test::DefaultAdapterTable();
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, fixed.desktop.Width);
}

TEST_F(AdapterTest, CapsAndIdentifier) {
    D3DCAPS9 caps{};
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_REF);
    EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
    EXPECT_TRUE(caps.CursorCaps & D3DCURSORCAPS_COLOR);
    EXPECT_EQ(caps.TextureFilterCaps & (D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR),
              D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR);

    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.caps.CursorCaps = 0;
    d3d9_test::SetAdapterTable(table);
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.CursorCaps, 0u);

    D3DADAPTER_IDENTIFIER9 id;
    std::memset(&id, 0x5A, sizeof(id));
    ASSERT_EQ(d3d_->GetAdapterIdentifier(0, 0, &id), D3D_OK);
    EXPECT_GT(std::strlen(id.Description), 0u);
    EXPECT_LT(std::strlen(id.Driver), sizeof(id.Driver));
    EXPECT_EQ(id.WHQLLevel, 0u);
    EXPECT_EQ(d3d_->GetAdapterIdentifier(1, 0, &id), D3DERR_INVALIDCALL);
}

}  // namespace
}  // namespace d3d9_tests
