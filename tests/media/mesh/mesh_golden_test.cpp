// Contact sheets of the 3-D path: the textured, vertex-coloured cube lit and unlit from two
// views (the second with an interpenetrating copy, for the depth buffer) and translucent; and
// the skinned arm through both animation sets and midway through a cross-fade.

#include "media/graphics/d3d_functions.h"
#include "mesh_fixture.h"

namespace mesh_tests {
namespace {

constexpr D3DCOLOR kBackground = 0xFF1E2838u;

TEST_F(MeshTest, CubeLitAndUnlitFromTwoViewsAndTranslucent) {
    StartDevice(384, 256);
    CopyFixture("cube.png");
    D3DMesh* cube = nullptr;
    ASSERT_EQ(CreateMesh(CopyFixture("cube.x").c_str(), &cube, D3DXMESH_MANAGED), D3D_OK);
    ASSERT_NE(cube->textures[0], nullptr);
    D3DXMATRIX turn;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixRotationY(&turn, 0.6f);
    // A smaller, tilted copy poking out of the turned cube's front.
    D3DXMATRIX second;
    D3DXMATRIX tilt;
    D3DXMATRIX shift;
    D3DXMatrixScaling(&second, 0.55f, 0.55f, 0.55f);
    D3DXMatrixRotationZ(&tilt, 0.7f);
    D3DXMatrixTranslation(&shift, -0.5f, 0.3f, -0.9f);
    second = second * tilt * turn * shift;
    for (int row = 0; row < 2; ++row) {
        Set3DStates(row == 0);
        for (int column = 0; column < 3; ++column) {
            BeginCell(column, row, 128, 128, kBackground);
            if (column == 2) {
                // Stripes behind the translucent cube.
                device()->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
                device()->SetRenderState(D3DRS_LIGHTING, FALSE);
                for (int stripe = 0; stripe < 4; ++stripe) {
                    const FloatRect band(256, row * 128 + 16 + stripe * 28, 384,
                                         row * 128 + 30 + stripe * 28);
                    D3D_ColorFill(&band, 0xFFE0E0E0u);
                }
                Set3DStates(row == 0);
            }
            SetCamera(column == 1 ? -3.2f : 2.6f, column == 1 ? -1.6f : 2.2f, -4.0f);
            cube->SetAlpha(column == 2 ? 128 : 255);
            D3DApp->SetTransform(D3DTS_WORLD, column == 1 ? &turn : &identity);
            ASSERT_EQ(cube->Draw(0), D3D_OK);
            if (column == 1) {
                D3DApp->SetTransform(D3DTS_WORLD, &second);
                // Material id 1: only the textured sides, so the copy is an open box.
                ASSERT_EQ(cube->Draw(1), D3D_OK);
            }
        }
    }
    ExpectGolden("mesh_cube_views");
    cube->Release();
}

TEST_F(MeshTest, SkinnedArmThroughBothSetsAndACrossFade) {
    StartDevice(384, 384);
    CopyFixture("arm.png");
    D3DObject* arm = nullptr;
    ASSERT_EQ(CreateObject(CopyFixture("arm.x").c_str(), &arm, D3DXMESH_MANAGED), D3D_OK);
    Set3DStates(true);
    auto cell = [&](int column, int row) {
        arm->AdvanceTime(0.0);
        BeginCell(column, row, 96, 128, kBackground);
        SetCamera(0.0f, 0.5f, -7.5f);
        ASSERT_EQ(arm->Render(0), D3D_OK);
    };
    // Rows: "wave" at 0, 0.25, 0.5 and 0.75 s; "bend" at 0, 0.5, 1 and 1.5 s.
    for (DWORD set = 0; set < 2; ++set) {
        for (int column = 0; column < 4; ++column) {
            ASSERT_EQ(arm->SetAnimation(set, 0.0), D3D_OK);
            arm->AdvanceTime((set == 0 ? 0.25 : 0.5) * column);
            cell(column, static_cast<int>(set));
        }
    }
    // From "wave" at 0.5 s into "bend" over one second: at its start, a quarter, midway, done.
    ASSERT_EQ(arm->SetAnimation("WAVE", 0.0), D3D_OK);
    arm->AdvanceTime(0.5);
    ASSERT_EQ(arm->SetAnimation("bend", 1.0), D3D_OK);
    const double steps[4] = {0.0, 0.25, 0.25, 0.5};
    for (int column = 0; column < 4; ++column) {
        arm->AdvanceTime(steps[column]);
        cell(column, 2);
    }
    D3DXTRACK_DESC fading{};
    D3DXTRACK_DESC coming{};
    arm->controller->GetTrackDesc(arm->currentTrack ^ 1, &fading);
    arm->controller->GetTrackDesc(arm->currentTrack, &coming);
    EXPECT_FALSE(fading.Enable);
    EXPECT_FLOAT_EQ(coming.Weight, 1.0f);
    ExpectGolden("mesh_arm_animation");
    arm->Release();
}

}  // namespace
}  // namespace mesh_tests
