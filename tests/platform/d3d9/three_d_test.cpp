// The fixed-function 3-D path: per-vertex lighting against hand-worked values, indexed draws
// from index buffers with their bounds, and a golden of a perspective-textured floor with
// intersecting lit triangles and a pre-transformed triangle of varying 1/w.

#include <cmath>
#include <cstring>

#include "device_fixture.h"
#include "support/golden_image.h"

namespace d3d9_tests {
namespace {

struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
    std::uint32_t colour;
};
constexpr DWORD kLitFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;

class ThreeDTest : public DeviceTest {
protected:
    void ExpectGolden(const char* name) {
        const std::vector<std::uint32_t> pixels = ReadTarget();
        EXPECT_EQ(qvn::test::CompareImageWithGolden(name, width_, height_, pixels.data(), width_),
                  "");
    }

    static D3DLIGHT9 Directional(float x, float y, float z, D3DCOLORVALUE diffuse,
                                 D3DCOLORVALUE ambient = {0, 0, 0, 0}) {
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Direction = {x, y, z};
        light.Diffuse = diffuse;
        light.Ambient = ambient;
        return light;
    }
};

TEST_F(ThreeDTest, LightingFollowsTheFixedFunctionFormula) {
    MakeDevice(16, 16);
    struct Case {
        const char* label;
        DWORD fvf;
        float normalZ;
        std::uint32_t colour;
        D3DMATERIAL9 material;
        D3DCOLOR ambient;
        std::vector<D3DLIGHT9> lights;
        std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> states;
        float worldScale;
        std::uint32_t expected;
    };
    const D3DCOLORVALUE white{1, 1, 1, 1};
    const D3DLIGHT9 headOn = Directional(0, 0, 1, white);
    // Seen from the triangle (normal 0, 0, -1) the light comes in at N . L = 0.6.
    const D3DLIGHT9 slanted = Directional(0, -0.8f, 0.6f, white);
    auto material = [](D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = {0, 0, 0, 0},
                       D3DCOLORVALUE emissive = {0, 0, 0, 0}) {
        D3DMATERIAL9 m{};
        m.Diffuse = diffuse;
        m.Ambient = ambient;
        m.Emissive = emissive;
        return m;
    };
    const Case cases[] = {
        {"material diffuse, light head on",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material({1, 0.5f, 0.25f, 1}),
         0,
         {headOn},
         {},
         1,
         0xFFFF8040u},
        {"vertex colour as diffuse, light at N.L 0.6",
         kLitFvf,
         -1,
         0x80FF8000u,
         material({0, 0, 1, 1}),
         0,
         {slanted},
         {},
         1,
         0x80994D00u},
        {"facing away: ambient state plus light ambient, times material ambient",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         1,
         0,
         material({1, 1, 1, 1}, {1, 0.4f, 0, 1}),
         0xFF404040u,
         {Directional(0, 0, 1, white, {0.2f, 0.2f, 0.2f, 1})},
         {},
         1,
         0xFF732E00u},
        {"emissive adds and the sum clamps",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material({0.8f, 0.8f, 0.8f, 1}, {}, {0.5f, 0, 0, 1}),
         0,
         {headOn},
         {},
         1,
         0xFFFFCCCCu},
        {"two lights add",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material(white),
         0,
         {Directional(0, 0, 1, {0.25f, 0, 0, 1}), Directional(0, -0.8f, 0.6f, {0, 0.4f, 0, 1})},
         {},
         1,
         0xFF403D00u},
        {"lighting off: the vertex colour as given",
         kLitFvf,
         -1,
         0x80FF8000u,
         material(white),
         0xFFFFFFFFu,
         {headOn},
         {{D3DRS_LIGHTING, FALSE}},
         1,
         0x80FF8000u},
        {"no normal: ambient and emissive only",
         D3DFVF_XYZ | D3DFVF_DIFFUSE,
         0,
         0xFF00FF00u,
         material(white, {}, {0.2f, 0.2f, 0.2f, 1}),
         0xFF404040u,
         {headOn},
         {},
         1,
         0xFF333333u},
        {"ambient from the vertex colour",
         kLitFvf,
         1,
         0xFF8080FFu,
         material(white),
         0xFFFFFFFFu,
         {headOn},
         {{D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1}},
         1,
         0xFF8080FFu},
        {"colour vertex off: the material instead",
         kLitFvf,
         -1,
         0xFF00FF00u,
         material({0, 0, 1, 1}),
         0,
         {headOn},
         {{D3DRS_COLORVERTEX, FALSE}},
         1,
         0xFF0000FFu},
        {"a scaled world shortens normals",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material(white),
         0,
         {headOn},
         {},
         2,
         0xFF808080u},
        {"unless they are normalised",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material(white),
         0,
         {headOn},
         {{D3DRS_NORMALIZENORMALS, TRUE}},
         2,
         0xFFFFFFFFu},
        {"no light enabled",
         D3DFVF_XYZ | D3DFVF_NORMAL,
         -1,
         0,
         material(white),
         0,
         {},
         {},
         1,
         0xFF000000u},
    };
    for (const Case& c : cases) {
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_LIGHTING, TRUE);
        device_->SetRenderState(D3DRS_COLORVERTEX, TRUE);
        device_->SetRenderState(D3DRS_NORMALIZENORMALS, FALSE);
        device_->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
        device_->SetRenderState(D3DRS_AMBIENT, c.ambient);
        for (const auto& [state, value] : c.states) {
            device_->SetRenderState(state, value);
        }
        device_->SetMaterial(&c.material);
        for (DWORD i = 0; i < 3; ++i) {
            if (i < c.lights.size()) {
                ASSERT_EQ(device_->SetLight(i, &c.lights[i]), D3D_OK);
            }
            device_->LightEnable(i, i < c.lights.size() ? TRUE : FALSE);
        }
        D3DMATRIX world{};
        world._11 = world._22 = world._33 = c.worldScale;
        world._44 = 1.0f;
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        // One large triangle over the whole target; the vertex parts the format lacks are
        // left out of the stride.
        std::uint8_t bytes[3][28];
        const float corners[3][2] = {{-1, -1}, {-1, 3}, {3, -1}};
        UINT stride = 12;
        for (int v = 0; v < 3; ++v) {
            const float position[3] = {corners[v][0], corners[v][1], 0.5f};
            std::memcpy(bytes[v], position, 12);
            stride = 12;
            if (c.fvf & D3DFVF_NORMAL) {
                const float normal[3] = {0, 0, c.normalZ};
                std::memcpy(bytes[v] + stride, normal, 12);
                stride += 12;
            }
            if (c.fvf & D3DFVF_DIFFUSE) {
                std::memcpy(bytes[v] + stride, &c.colour, 4);
                stride += 4;
            }
        }
        std::uint8_t packed[3 * 28];
        for (int v = 0; v < 3; ++v) {
            std::memcpy(packed + v * stride, bytes[v], stride);
        }
        device_->SetFVF(c.fvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, packed, stride), D3D_OK)
            << c.label;
        EXPECT_EQ(ReadTarget()[8 * 16 + 8], c.expected | 0xFF000000u) << c.label;
    }
    // Only directional lights exist; a light never set turns into the default one.
    D3DLIGHT9 point = headOn;
    point.Type = D3DLIGHT_POINT;
    EXPECT_EQ(device_->SetLight(5, &point), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->LightEnable(6, TRUE), D3D_OK);
    D3DLIGHT9 made{};
    ASSERT_EQ(device_->GetLight(6, &made), D3D_OK);
    EXPECT_EQ(made.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(made.Direction.z, 1.0f);
    for (DWORD i = 10; i < 10 + kMaxActiveLights; ++i) {
        device_->LightEnable(i, TRUE);
    }
    EXPECT_EQ(device_->LightEnable(99, TRUE), D3DERR_INVALIDCALL);
}

TEST_F(ThreeDTest, IndexedDrawsReadTheBoundBuffersWithinBounds) {
    MakeDevice(16, 16);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    // Two quads in one vertex buffer: red over the left half, blue over the right.
    const ColourVertex quads[8] = {{0, 0, 0, 1, 0xFFFF0000u},  {8, 0, 0, 1, 0xFFFF0000u},
                                   {0, 16, 0, 1, 0xFFFF0000u}, {8, 16, 0, 1, 0xFFFF0000u},
                                   {8, 0, 0, 1, 0xFF0000FFu},  {16, 0, 0, 1, 0xFF0000FFu},
                                   {8, 16, 0, 1, 0xFF0000FFu}, {16, 16, 0, 1, 0xFF0000FFu}};
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(sizeof quads, 0, kColourVertexFvf, D3DPOOL_MANAGED,
                                          &vertices, nullptr),
              D3D_OK);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    std::memcpy(data, quads, sizeof quads);
    vertices->Unlock();
    const std::uint32_t indices[9] = {0, 1, 2, 2, 1, 3, 0, 1, 9};
    IDirect3DIndexBuffer9* wide = nullptr;
    EXPECT_EQ(device_->CreateIndexBuffer(36, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &wide, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateIndexBuffer(0, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &wide, nullptr),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->CreateIndexBuffer(36, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &wide, nullptr),
              D3D_OK);
    wide->Lock(0, 0, &data, 0);
    std::memcpy(data, indices, sizeof indices);
    wide->Unlock();
    D3DINDEXBUFFER_DESC desc{};
    wide->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_INDEX32);
    EXPECT_EQ(desc.Size, 36u);

    device_->SetFVF(kColourVertexFvf);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2),
              D3DERR_INVALIDCALL);  // no index buffer
    device_->SetStreamSource(0, vertices, 0, sizeof(ColourVertex));
    ASSERT_EQ(device_->SetIndices(wide), D3D_OK);
    IDirect3DIndexBuffer9* bound = nullptr;
    ASSERT_EQ(device_->GetIndices(&bound), D3D_OK);
    EXPECT_EQ(bound, wide);
    bound->Release();
    const struct {
        const char* label;
        INT base;
        UINT minIndex;
        UINT count;
        UINT start;
        UINT primitives;
        HRESULT result;
        std::uint32_t left;
        std::uint32_t right;
    } draws[] = {
        {"the first quad", 0, 0, 4, 0, 2, D3D_OK, 0xFFFF0000u, 0xFF000000u},
        {"the same indices shifted to the second quad", 4, 0, 4, 0, 2, D3D_OK, 0xFF000000u,
         0xFF0000FFu},
        {"an index past the vertices named", 0, 0, 4, 3, 2, D3DERR_INVALIDCALL, 0xFF000000u,
         0xFF000000u},
        {"indices past the buffer", 0, 0, 4, 6, 2, D3DERR_INVALIDCALL, 0xFF000000u, 0xFF000000u},
        {"vertices past the stream", 6, 0, 4, 0, 2, D3DERR_INVALIDCALL, 0xFF000000u, 0xFF000000u},
        {"a negative base below the vertices", -1, 0, 4, 0, 2, D3DERR_INVALIDCALL, 0xFF000000u,
         0xFF000000u},
    };
    for (const auto& d : draws) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, d.base, d.minIndex, d.count,
                                                d.start, d.primitives),
                  d.result)
            << d.label;
        EXPECT_EQ(PixelAt(4, 8), d.left) << d.label;
        EXPECT_EQ(PixelAt(12, 8), d.right) << d.label;
    }
    // A draw from user memory leaves neither the stream nor the index buffer bound.
    const std::uint16_t narrow[3] = {0, 1, 2};
    EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, narrow, D3DFMT_INDEX16,
                                              quads, sizeof(ColourVertex)),
              D3D_OK);
    ASSERT_EQ(device_->GetIndices(&bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    // The binding keeps a released buffer alive until it is replaced.
    device_->SetStreamSource(0, vertices, 0, sizeof(ColourVertex));
    device_->SetIndices(wide);
    EXPECT_EQ(wide->Release(), 0u);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(PixelAt(4, 8), 0xFFFF0000u);
    device_->SetIndices(nullptr);
    device_->SetStreamSource(0, nullptr, 0, 0);
    vertices->Release();
}

TEST_F(ThreeDTest, PerspectiveFloorIntersectingTrianglesAndVaryingRhw) {
    MakeDevice(160, 120);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF101820u, 1.0f, 0);
    IDirect3DTexture9* checker = MakeTexture(
        8, 8, [](int x, int y) { return ((x / 2 + y / 2) % 2) != 0 ? 0xFFF0F0F0u : 0xFF3050A0u; });
    device_->SetTexture(0, checker);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    // Camera 1.5 above the floor looking down along +z; 60-degree projection, depth 0.5..40.
    D3DMATRIX view{};
    view._11 = 1;
    const float c = std::cos(0.35f);
    const float s = std::sin(0.35f);
    view._22 = c;
    view._23 = -s;
    view._32 = s;
    view._33 = c;
    view._42 = -1.5f * c;
    view._43 = 1.5f * s;
    view._44 = 1;
    D3DMATRIX projection{};
    const float yScale = 1.0f / std::tan(0.5236f);
    projection._11 = yScale * 120.0f / 160.0f;
    projection._22 = yScale;
    projection._33 = 40.0f / 39.5f;
    projection._34 = 1;
    projection._43 = -0.5f * 40.0f / 39.5f;
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    // The floor, unlit: a checker repeated 6 times across and 12 times into the distance.
    struct FloorVertex {
        float x, y, z;
        std::uint32_t colour;
        float u, v;
    };
    const FloorVertex floor[4] = {{-3, 0, 0.5f, 0xFFFFFFFFu, 0, 0},
                                  {3, 0, 0.5f, 0xFFFFFFFFu, 6, 0},
                                  {-3, 0, 24, 0xFFFFFFFFu, 0, 12},
                                  {3, 0, 24, 0xFFFFFFFFu, 6, 12}};
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, floor, sizeof(FloorVertex)), D3D_OK);
    // Two lit triangles standing on the floor, crossing each other in depth.
    device_->SetTexture(0, nullptr);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_->SetRenderState(D3DRS_AMBIENT, 0xFF202020u);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {0.3f, -0.4f, 0.87f};
    device_->SetLight(0, &light);
    device_->LightEnable(0, TRUE);
    D3DMATERIAL9 material{};
    material.Ambient = {1, 1, 1, 1};
    device_->SetMaterial(&material);
    const LitVertex crossing[6] = {{-1.5f, 0, 3, -0.5f, 0, -0.87f, 0xFFE04030u},
                                   {0.5f, 2, 5, -0.5f, 0, -0.87f, 0xFFE04030u},
                                   {1.5f, 0, 7, -0.5f, 0, -0.87f, 0xFFE04030u},
                                   {-1.5f, 0.2f, 7, 0.5f, 0, -0.87f, 0xFF30A0E0u},
                                   {-0.5f, 2.2f, 5, 0.5f, 0, -0.87f, 0xFF30A0E0u},
                                   {1.5f, 0.2f, 3, 0.5f, 0, -0.87f, 0xFF30A0E0u}};
    device_->SetFVF(kLitFvf);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, crossing, sizeof(LitVertex)), D3D_OK);
    // A pre-transformed textured triangle whose rhw differs per corner: its checker is bent by
    // perspective, not stretched linearly; depth off so it lies over everything.
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetTexture(0, checker);
    const TLVertex tilted[3] = {{110, 8, 0, 1.0f, 0xFFFFFFFFu, 0, 0},
                                {156, 8, 0, 0.25f, 0xFFFFFFFFu, 4, 0},
                                {110, 50, 0, 1.0f, 0xFFFFFFFFu, 0, 4}};
    device_->SetFVF(kTLVertexFvf);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tilted, sizeof(TLVertex)), D3D_OK);
    device_->SetTexture(0, nullptr);
    checker->Release();
    ExpectGolden("d3d9_projected_depth_lighting");
}

}  // namespace
}  // namespace d3d9_tests
