// Planes: transformation about the pivot, the colour and alpha rules, the update pass, drawing
// and surface loading.

#include <cmath>
#include <cstring>

#include "graphics_fixture.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/matrix.h"

namespace graphics_tests {
namespace {

class PlaneTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        StartDevice(64, 64);
    }

    // A 10 x 6 quad strip at the origin with corner colours of different RGB.
    D3DPlane* MakeQuad() {
        const TLVertex quad[4] = {
            TLVertex(0, 0, 0xFF112233u, 0, 0), TLVertex(10, 0, 0xFF445566u, 1, 0),
            TLVertex(0, 6, 0xFF778899u, 0, 1), TLVertex(10, 6, 0xFFAABBCCu, 1, 1)};
        D3DPlane* plane = nullptr;
        EXPECT_EQ(D3D_CreateStripPlane(quad, 4, &plane, 0, D3DPOOL_SYSTEMMEM), D3D_OK);
        return plane;
    }

    static std::vector<TLVertex> Buffer(D3DPlane* plane) {
        if ((plane->flags & kPlaneDirtyBits) != 0) {
            EXPECT_EQ(plane->Transform(false), D3D_OK);
        }
        std::vector<TLVertex> out(plane->vertexCount);
        void* data = nullptr;
        EXPECT_EQ(plane->vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
        std::memcpy(static_cast<void*>(out.data()), data, out.size() * sizeof(TLVertex));
        plane->vertexBuffer->Unlock();
        return out;
    }
};

void ExpectCorners(const std::vector<TLVertex>& v, const float (&expected)[4][2],
                   const char* label) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(v[i].x, expected[i][0], 1e-4) << label << " vertex " << i;
        EXPECT_NEAR(v[i].y, expected[i][1], 1e-4) << label << " vertex " << i;
    }
}

TEST_F(PlaneTest, MirroringAndRotationAboutTheCentre) {
    D3DPlane* plane = MakeQuad();
    plane->SetPivot(5, 3);
    plane->SetPosition(5, 3);
    const float same[4][2] = {{0, 0}, {10, 0}, {0, 6}, {10, 6}};
    ExpectCorners(Buffer(plane), same, "identity");

    const struct {
        const char* label;
        float sx;
        float sy;
        float rotation;
        float corners[4][2];
    } cases[] = {
        {"mirror x", -1, 1, 0, {{10, 0}, {0, 0}, {10, 6}, {0, 6}}},
        {"mirror y", 1, -1, 0, {{0, 6}, {10, 6}, {0, 0}, {10, 0}}},
        {"both", -1, -1, 0, {{10, 6}, {0, 6}, {10, 0}, {0, 0}}},
        {"half turn", 1, 1, D3DX_PI, {{10, 6}, {0, 6}, {10, 0}, {0, 0}}},
        {"double size", 2, 2, 0, {{-5, -3}, {15, -3}, {-5, 9}, {15, 9}}},
    };
    for (const auto& c : cases) {
        plane->SetScale(c.sx, c.sy);
        plane->SetRotation(c.rotation);
        ExpectCorners(Buffer(plane), c.corners, c.label);
    }
    // With the pivot at the origin, (x, y) is the top-left corner; z is the plane's z.
    plane->SetScale(1);
    plane->SetRotation(0);
    plane->SetPivot(0, 0);
    plane->SetPosition(20.0f, 30.0f, 0.5f);
    const auto moved = Buffer(plane);
    EXPECT_EQ(moved[0].x, 20.0f);
    EXPECT_EQ(moved[3].y, 36.0f);
    EXPECT_EQ(moved[3].z, 0.5f);
    plane->Release();
}

TEST_F(PlaneTest, ColourAndAlphaRules) {
    D3DPlane* plane = MakeQuad();
    plane->SetAlpha(0x80);
    auto v = Buffer(plane);
    EXPECT_EQ(v[0].colour, 0x80112233u);
    EXPECT_EQ(v[3].colour, 0x80AABBCCu);

    plane->SetColor(0xFF00FF00u);
    v = Buffer(plane);
    for (const TLVertex& vertex : v) {
        EXPECT_EQ(vertex.colour, 0xFF00FF00u);
    }

    plane->SetColor(0xFFFF0000u);
    plane->SetAlpha(0x40);
    v = Buffer(plane);
    EXPECT_EQ(v[0].colour, 0x40112233u);
    EXPECT_EQ(v[2].colour, 0x40778899u);
    // Position changes leave colours as they were.
    plane->SetPosition(1, 1);
    EXPECT_EQ(Buffer(plane)[2].colour, 0x40778899u);
    EXPECT_EQ(plane->flags & kPlaneDirtyBits, 0u);
    plane->Release();
}

struct UpdateLog {
    std::vector<D3DPlane*> called;
    D3DPlane* created = nullptr;
};

int RecordUpdate(D3DPlane* plane, double, void* data) {
    static_cast<UpdateLog*>(data)->called.push_back(plane);
    return 1;
}

int ReplaceSelf(D3DPlane* plane, double time, void* data) {
    auto* log = static_cast<UpdateLog*>(data);
    RecordUpdate(plane, time, data);
    plane->Release();
    const TLVertex quad[4] = {TLVertex(0, 0, 0, 0), TLVertex(1, 0, 1, 0), TLVertex(0, 1, 0, 1),
                              TLVertex(1, 1, 1, 1)};
    D3D_CreateStripPlane(quad, 4, &log->created, 0, D3DPOOL_SYSTEMMEM);
    log->created->SetUpdateCallback(&RecordUpdate, data);
    return 1;
}

int Fails(D3DPlane*, double, void*) {
    return 0;
}

TEST_F(PlaneTest, UpdatePassCallsEachPlaneOnceEvenWhenPlanesComeAndGo) {
    UpdateLog log;
    D3DPlane* first = MakeQuad();
    D3DPlane* replaced = MakeQuad();
    D3DPlane* last = MakeQuad();
    D3DPlane* idle = MakeQuad();
    first->SetUpdateCallback(&RecordUpdate, &log);
    replaced->SetUpdateCallback(&ReplaceSelf, &log);
    last->SetUpdateCallback(&RecordUpdate, &log);
    D3D_UpdatePlanes(0.016);
    EXPECT_EQ(log.called, (std::vector<D3DPlane*>{first, replaced, last}));
    ASSERT_NE(log.created, nullptr);

    log.called.clear();
    D3D_UpdatePlanes(0.016);
    EXPECT_EQ(log.called, (std::vector<D3DPlane*>{first, last, log.created}));

    last->SetUpdateCallback(&Fails, nullptr);
    D3D_UpdatePlanes(0.016);
    EXPECT_EQ(CountLogLines("D3DPlane::Update: E_FAIL"), 1);
    for (D3DPlane* plane : {first, last, idle, log.created}) {
        plane->Release();
    }
}

TEST_F(PlaneTest, DrawingAndTheAutomaticPass) {
    D3DTexture* texture = nullptr;
    ASSERT_EQ(D3D_CreateTexture(&texture, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 4; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                     y * locked.Pitch);
        std::fill(row, row + 4, 0xFFFFFFFFu);
    }
    texture->texture->UnlockRect(0);
    D3DPlane* plane = nullptr;
    ASSERT_EQ(D3D_CreatePlaneFromTexture(texture, &plane, nullptr, 0, D3DPOOL_SYSTEMMEM), D3D_OK);
    EXPECT_EQ(texture->refCount, 2u);
    plane->SetPosition(8, 8);
    plane->SetColor(0xFF0000FFu);

    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    D3D_DrawPlanes();  // not marked: only the blend states
    DWORD blend = 0;
    device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, static_cast<DWORD>(TRUE));
    EXPECT_EQ(PixelAt(8, 8), 0xFF000000u);
    plane->SetFlagBits(kPlaneAutoDraw, true);
    D3D_DrawPlanes();
    EXPECT_EQ(PixelAt(8, 8), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(11, 11), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(12, 12), 0xFF000000u);

    // Planes without vertices draw nothing and report no failure.
    D3DPlane* bare = nullptr;
    ASSERT_EQ(D3D_CreateSurfacePlane(4, 4, &bare, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT), D3D_OK);
    EXPECT_EQ(bare->Draw(), D3D_OK);
    const TLVertex two[2] = {TLVertex(0, 0, 0, 0), TLVertex(1, 1, 1, 1)};
    D3DPlane* line = nullptr;
    ASSERT_EQ(D3D_CreateStripPlane(two, 2, &line, 0, D3DPOOL_SYSTEMMEM), D3D_OK);
    EXPECT_EQ(line->Draw(), D3D_OK);
    EXPECT_TRUE(LogLines().empty() || CountLogLines("D3DPlane::Draw: D3DERR_INVALIDCALL") == 0);
    line->Release();
    bare->Release();
    plane->Release();
    EXPECT_EQ(texture->refCount, 1u);
    texture->Release();
}

TEST_F(PlaneTest, LoadedSurfacesAndTextures) {
    const auto image =
        MakeImage(6, 4, [](int x, int) { return x < 3 ? 0xFFFF0000u : 0xFF0000FFu; });
    const std::string path = WriteImage("pic.png", 6, 4, image);
    D3DPlane* surfacePlane = nullptr;
    ASSERT_EQ(D3D_LoadPlane(path.c_str(), &surfacePlane, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED),
              D3D_OK);
    EXPECT_EQ(surfacePlane->pool, D3DPOOL_DEFAULT);
    EXPECT_NE(surfacePlane->surface, nullptr);
    EXPECT_NE(surfacePlane->systemSurface, nullptr);
    EXPECT_EQ(surfacePlane->width, 6u);
    EXPECT_STREQ(surfacePlane->GetName(nullptr), "pic.png");

    D3DPlane* texturePlane = nullptr;
    ASSERT_EQ(D3D_LoadPlane(path.c_str(), &texturePlane, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED),
              D3D_OK);
    EXPECT_EQ(texturePlane->vertexCount, 4u);
    EXPECT_EQ(texturePlane->width, 6u);
    EXPECT_EQ(texturePlane->height, 4u);
    // The texture is shared with any other user of the file.
    D3DTexture* same = nullptr;
    ASSERT_EQ(D3D_LoadTexture(path.c_str(), &same, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                              D3DX_FILTER_NONE),
              D3D_OK);
    EXPECT_EQ(same, texturePlane->texture);
    same->Release();

    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    texturePlane->SetPosition(2, 2);
    ASSERT_EQ(texturePlane->Draw(), D3D_OK);
    EXPECT_EQ(PixelAt(2, 2), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(7, 5), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(8, 5), 0xFF000000u);

    D3DPlane* missing = nullptr;
    EXPECT_EQ(D3D_LoadPlane(WinPath("bmp\\none.png").c_str(), &missing, 0, 0, D3DFMT_UNKNOWN,
                            D3DPOOL_DEFAULT),
              E_FAIL);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->flags & kPlaneHasSurface, 0u);
    EXPECT_EQ(CountLogLines("D3DPlane::LoadSurface: E_FAIL"), 1);
    missing->Release();
    texturePlane->Release();
    surfacePlane->Release();
}

}  // namespace
}  // namespace graphics_tests
