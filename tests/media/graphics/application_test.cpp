// The Direct3D application: creation and its log, presenting, kept matrices, the helpers
// of the layer and the resource dump.

#include <string>

#include "graphics_fixture.h"
#include "media/graphics/d3d_dump.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/format_names.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"

namespace graphics_tests {
namespace {

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(GraphicsTest, SetDeviceLogsTheDeviceAndItsModes) {
    StartDevice(320, 240);
    const auto lines = LogLines();
    EXPECT_TRUE(HasLine(lines, "Device Type: HAL"));
    EXPECT_TRUE(HasLine(lines, "Behavior: Hardware vp"));
    EXPECT_TRUE(HasLine(lines, "Back Buffer: 320x240(X8R8G8B8)"));
    EXPECT_TRUE(HasLine(lines, "Depth Buffer: 320x240(D16)"));
    bool modeLine = false;
    bool driverVersion = false;
    for (const std::string& line : lines) {
        modeLine = modeLine || line.rfind("Changed windowed mode: 320x240x32:", 0) == 0;
        driverVersion = driverVersion || line.rfind("Driver Version: ", 0) == 0;
    }
    EXPECT_TRUE(modeLine);
    EXPECT_TRUE(driverVersion);
    D3DVIEWPORT9 viewport{};
    ASSERT_EQ(device()->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_EQ(viewport.Height, 240u);
    EXPECT_EQ(D3DApp->modeFlags & 2, 2u);
}

TEST_F(GraphicsTest, WithoutHardwareTransformTheDeviceUsesSoftwareVertexProcessing) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.caps.DevCaps &= ~D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    d3d9_test::SetAdapterTable(table);
    ASSERT_EQ(CreateD3DApplication(), 1);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(64, 64);
    ASSERT_EQ(D3DApp->SetDevice(FakeWindow(), &pp, 0, D3DDEVTYPE_HAL, 0), D3D_OK);
    EXPECT_EQ(CountLogLines("Behavior: Software vp"), 1);
}

TEST_F(GraphicsTest, PresentReportsMissingDevicesAndFailures) {
    // No instance, then an instance without a device: E_FAIL and no log line.
    EXPECT_EQ(D3D_Present(nullptr, nullptr, nullptr, nullptr), E_FAIL);
    ASSERT_EQ(CreateD3DApplication(), 1);
    EXPECT_EQ(D3DApp->Present(nullptr, nullptr, nullptr, nullptr), E_FAIL);
    EXPECT_TRUE(LogLines().empty());

    StartDevice(64, 64);
    EXPECT_EQ(D3D_Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    d3d9_test::FailNextPresent(device(), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(D3D_Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(CountLogLines("D3DApplication::Present: D3DERR_DRIVERINTERNALERROR"), 1);
}

TEST_F(GraphicsTest, TransformsOfWorldViewAndProjectionAreKept) {
    StartDevice(64, 64);
    D3DMATRIX world{};
    world._11 = 2.0f;
    world._44 = 1.0f;
    ASSERT_EQ(D3DApp->SetTransform(D3DTS_WORLD, &world), D3D_OK);
    D3DMATRIX read{};
    EXPECT_EQ(D3DApp->GetTransform(D3DTS_WORLD, &read), 0);
    EXPECT_EQ(read._11, 2.0f);
    D3DMATRIX untouched{};
    untouched._12 = 7.0f;
    EXPECT_EQ(D3DApp->GetTransform(D3DTS_TEXTURE0, &untouched), 0);
    EXPECT_EQ(untouched._12, 7.0f);
}

TEST(GraphicsHelpers, NextPowerOfTwoIsStrictlyGreater) {
    const struct {
        UINT n;
        UINT expected;
    } cases[] = {
        {0, 1}, {1, 2}, {4, 8}, {5, 8}, {128, 256}, {129, 256}, {0x7FFFFFFFu, 0x80000000u}};
    for (const auto& c : cases) {
        EXPECT_EQ(NextPowerOfTwo(c.n), c.expected) << c.n;
    }
}

TEST(GraphicsHelpers, FormatAndPoolNames) {
    const struct {
        D3DFORMAT format;
        const char* name;
        UINT bits;
    } cases[] = {{D3DFMT_A8R8G8B8, "A8R8G8B8", 32},
                 {D3DFMT_R5G6B5, "R5G6B5", 16},
                 {D3DFMT_A4R4G4B4, "A4R4G4B4", 16},
                 {D3DFMT_D24S8, "D24S8", 32},
                 {D3DFMT_DXT1, "DXT1", 0},
                 {D3DFMT_R8G8_B8G8, "R8G8_B8G8", 32},
                 {D3DFMT_G8R8_G8B8, "G8R8_G8B8", 32},
                 {D3DFMT_MULTI2_ARGB8, "MULTI2_ARGB8", 0},
                 {D3DFMT_CxV8U8, "CxV8U8", 16},
                 {static_cast<D3DFORMAT>(999), "Unknown", 0}};
    for (const auto& c : cases) {
        UINT bits = 99;
        EXPECT_STREQ(D3D_GetFormatName(c.format, &bits), c.name);
        EXPECT_EQ(bits, c.bits) << c.name;
    }
    EXPECT_STREQ(D3D_GetPoolName(D3DPOOL_DEFAULT), "DEFAULT");
    EXPECT_STREQ(D3D_GetPoolName(D3DPOOL_SYSTEMMEM), "SYSTEM");
    EXPECT_STREQ(D3D_GetPoolName(static_cast<D3DPOOL>(4)), "Unknown");
}

TEST_F(GraphicsTest, DumpListsTexturesAndPlanes) {
    StartDevice(64, 64);
    D3DTexture* texture = nullptr;
    ASSERT_EQ(D3D_CreateTexture(&texture, 32, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), D3D_OK);
    texture->SetName("blank");
    D3DPlane* empty = nullptr;
    ASSERT_EQ(D3D_CreateSurfacePlane(8, 8, &empty, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM), D3D_OK);
    empty->SetName("sys");
    D3DDump(1 | 4 | 8);
    const auto lines = LogLines();
    EXPECT_TRUE(HasLine(lines, "Texture Count: 1"));
    EXPECT_TRUE(HasLine(lines, "Plane Count: 1"));
    EXPECT_TRUE(HasLine(lines, std::string(91, '-')));
    char row[160];
    std::snprintf(row, sizeof(row),
                  "%08x     1     32 x   16   MANAGED       A8R8G8B8            blank",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(texture)));
    EXPECT_TRUE(HasLine(lines, row)) << row;
    std::snprintf(row, sizeof(row),
                  "%08x     1   Empty plane.                                    sys",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(empty)));
    EXPECT_TRUE(HasLine(lines, row)) << row;
    bool memoryLine = false;
    for (const std::string& line : lines) {
        memoryLine = memoryLine || line.rfind("AvailableTextureMem     : ", 0) == 0;
    }
    EXPECT_TRUE(memoryLine);
    empty->Release();
    texture->Release();
}

}  // namespace
}  // namespace graphics_tests
