// The message colour's conversions between packed ARGB and the page's hue, saturation, value and
// alpha, and the texture-filter choices of the other page.

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "foundation/foundation_test.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "platform/d3d9/d3d9_test.h"
#include "shell/hsv_colour.h"
#include "shell/texture_filter.h"

namespace {

int HueDistance(int a, int b) {
    const int d = ((a - b) % 360 + 360) % 360;
    return d > 180 ? 360 - d : d;
}

TEST(HsvColourTest, EverySectorWithItsEdgesAndTheWayBack) {
    struct Case {
        int hue, saturation, value, alpha;
        DWORD argb;
        int hueBack;  // ArgbToHsv(argb).hue: integer steps may move it a degree or two
    };
    const Case cases[] = {
        {0, 255, 255, 255, 0xFFFF0000u, 0},  // red: 360 before it was taken modulo 360
        {1, 255, 255, 255, 0xFFFF0500u, 2},
        {30, 255, 255, 255, 0xFFFF8000u, 31},
        {59, 255, 255, 255, 0xFFFFFB00u, 60},
        {60, 255, 255, 255, 0xFFFFFF00u, 60},
        {61, 255, 255, 255, 0xFFFBFF00u, 60},
        {119, 255, 255, 255, 0xFF05FF00u, 118},
        {120, 255, 255, 255, 0xFF00FF00u, 120},
        {179, 255, 255, 255, 0xFF00FFFBu, 180},
        {180, 255, 255, 255, 0xFF00FFFFu, 180},
        {200, 255, 255, 255, 0xFF00AAFFu, 200},
        {239, 255, 255, 255, 0xFF0005FFu, 238},
        {240, 255, 255, 255, 0xFF0000FFu, 240},
        {299, 255, 255, 255, 0xFFFB00FFu, 300},
        {300, 255, 255, 255, 0xFFFF00FFu, 300},
        {330, 255, 255, 255, 0xFFFF0080u, 329},
        {359, 255, 255, 255, 0xFFFF0005u, 358},
        {360, 255, 255, 255, 0xFFFF0000u, 0},  // sector 6 is sector 0 again
        {725, 255, 255, 255, 0xFFFF1600u, 6},
        {-60, 255, 255, 255, 0xFFFF00FFu, 300},
        {0, 0, 0, 128, 0x80000000u, 0},    // the default colour
        {200, 0, 90, 64, 0x405A5A5Au, 0},  // grey whatever the hue
        {120, 128, 128, 255, 0xFF3F803Fu, 120},
        {200, 300, 255, 999, 0xFF00AAFFu, 200},  // held to 0..255
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hue);
        EXPECT_EQ(HsvToArgb(c.hue, c.saturation, c.value, c.alpha), c.argb);
        const HsvColour back = ArgbToHsv(c.argb);
        EXPECT_EQ(back.hue, c.hueBack);
        EXPECT_EQ(back.alpha, static_cast<int>(c.argb >> 24));
        EXPECT_EQ(back.value, static_cast<int>(std::max(
                                  {(c.argb >> 16) & 0xFF, (c.argb >> 8) & 0xFF, c.argb & 0xFF})));
    }
}

TEST(HsvColourTest, EveryHueGivesAColourThatReadsBackNearIt) {
    for (int hue = 0; hue < 720; ++hue) {
        for (int saturation : {64, 255}) {
            const DWORD argb = HsvToArgb(hue, saturation, 255, 200);
            SCOPED_TRACE(hue);
            ASSERT_EQ(argb >> 24, 200u);
            // The largest channel is the value: no sector leaves the colour unset.
            ASSERT_EQ(std::max({(argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF}), 255u);
            const HsvColour back = ArgbToHsv(argb);
            ASSERT_GE(back.hue, 0);
            ASSERT_LE(back.hue, 359);
            ASSERT_LE(HueDistance(back.hue, hue), saturation == 255 ? 2 : 4);
        }
    }
}

TEST(TextureFilterTest, ChoicesMapToFiltersAndTheDeviceDecidesWhichAreOffered) {
    struct Case {
        DWORD choice;
        D3DTEXTUREFILTERTYPE filter;
        DWORD anisotropy;
        bool withoutAnisotropy;  // offered by a device of point and linear filtering
        bool withAnisotropy8;    // offered when anisotropic filtering reaches 8
    };
    const Case cases[] = {
        {0, D3DTEXF_POINT, 1, true, true},        {1, D3DTEXF_LINEAR, 1, true, true},
        {2, D3DTEXF_ANISOTROPIC, 2, false, true}, {3, D3DTEXF_ANISOTROPIC, 4, false, true},
        {4, D3DTEXF_ANISOTROPIC, 8, false, true}, {5, D3DTEXF_ANISOTROPIC, 16, false, false},
    };
    D3DCAPS9 plain{};
    plain.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                              D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    D3DCAPS9 anisotropic = plain;
    anisotropic.TextureFilterCaps |=
        D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC;
    anisotropic.MaxAnisotropy = 8;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        EXPECT_EQ(TextureFilterOfChoice(c.choice), c.filter);
        EXPECT_EQ(AnisotropyOfChoice(c.choice), c.anisotropy);
        for (bool magnification : {false, true}) {
            EXPECT_EQ(DeviceCanFilter(plain, c.choice, magnification), c.withoutAnisotropy);
            EXPECT_EQ(DeviceCanFilter(anisotropic, c.choice, magnification), c.withAnisotropy8);
        }
    }
    D3DCAPS9 magnifyPointOnly{};
    magnifyPointOnly.TextureFilterCaps = D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT;
    EXPECT_FALSE(DeviceCanFilter(magnifyPointOnly, 0, false));
    EXPECT_TRUE(DeviceCanFilter(magnifyPointOnly, 1, false));
    EXPECT_TRUE(DeviceCanFilter(magnifyPointOnly, 0, true));
    EXPECT_FALSE(DeviceCanFilter(magnifyPointOnly, 1, true));
    EXPECT_EQ(PowerOfTwo(0), 1u);
    EXPECT_EQ(PowerOfTwo(4), 16u);
    EXPECT_EQ(PowerOfTwo(40), 0x80000000u);
}

TEST(TextureFilterTest, SetTextureFilterSetsTheSamplersOfTheStages) {
    foundation_test::ResetState();
    d3d9_test::SetAdapterTable(shell_test::DialogTestAdapter());
    ASSERT_EQ(CreateD3DApplication(), 1);
    SetTextureFilter(0, 7, 1, 0);  // nothing without a device
    static int windowAnchor;       // a window the device layer takes on trust
    const auto window = reinterpret_cast<HWND>(&windowAnchor);
    D3DPRESENT_PARAMETERS parameters = InitialDisplaySettings();
    parameters.BackBufferHeight = 600;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.hDeviceWindow = window;
    D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
    ASSERT_TRUE(SUCCEEDED(D3DApp->SetDevice(window, &parameters, 0, D3DDEVTYPE_HAL, 0x44)));
    SetTextureFilter(1, 2, 4, 1);
    IDirect3DDevice9* device = CurrentDevice();
    for (DWORD stage = 0; stage < 4; ++stage) {
        DWORD minFilter = 0;
        DWORD magFilter = 0;
        DWORD anisotropy = 0;
        device->GetSamplerState(stage, D3DSAMP_MINFILTER, &minFilter);
        device->GetSamplerState(stage, D3DSAMP_MAGFILTER, &magFilter);
        device->GetSamplerState(stage, D3DSAMP_MAXANISOTROPY, &anisotropy);
        const bool set = stage == 1 || stage == 2;
        EXPECT_EQ(minFilter, set ? D3DTEXF_ANISOTROPIC : D3DTEXF_POINT) << stage;
        EXPECT_EQ(magFilter, set ? D3DTEXF_LINEAR : D3DTEXF_POINT) << stage;
        EXPECT_EQ(anisotropy, set ? 8u : 1u) << stage;
    }
    SetTextureFilter(6, 20, 0, 0);  // stages beyond the device's are left alone
    DestroyD3DApplication();
    d3d9_test::ResetAdapterTable();
}

}  // namespace
