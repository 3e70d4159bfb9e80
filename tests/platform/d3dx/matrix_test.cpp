#include <gtest/gtest.h>

#include "platform/d3dx/matrix.h"

namespace {

D3DXVECTOR3 Apply(const D3DXMATRIX& m, float x, float y) {
    D3DXVECTOR3 in{x, y, 0.0f};
    D3DXVECTOR3 out{};
    D3DXVec3TransformCoord(&out, &in, &m);
    return out;
}

// The plane transform: pivot to the origin, mirror, scale, rotate, then translate.
D3DXMATRIX PlaneTransform(float pivotX, float pivotY, float scaleX, float scaleY, float rotation,
                          float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMATRIX step;
    D3DXMatrixIdentity(&m);
    D3DXMatrixMultiply(&m, &m, D3DXMatrixTranslation(&step, -pivotX, -pivotY, 0));
    if (scaleX < 0) {
        D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationY(&step, D3DX_PI));
    }
    if (scaleY < 0) {
        D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationX(&step, D3DX_PI));
    }
    D3DXMatrixMultiply(&m, &m,
                       D3DXMatrixScaling(&step, scaleX < 0 ? -scaleX : scaleX,
                                         scaleY < 0 ? -scaleY : scaleY, 1.0f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationZ(&step, rotation));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixTranslation(&step, x, y, z));
    return m;
}

TEST(Matrix, PlaneTransformsPlacePointsAsExpected) {
    struct Case {
        const char* name;
        D3DXMATRIX m;
        float inX, inY;
        float outX, outY, outZ;
    };
    const Case cases[] = {
        {"translation only", PlaneTransform(0, 0, 1, 1, 0, 10, 20, 0.5f), 3, 4, 13, 24, 0.5f},
        {"pivot lands on the position", PlaneTransform(50, 25, 1, 1, 0, 400, 300, 0), 50, 25, 400,
         300, 0},
        {"scale about the pivot", PlaneTransform(50, 25, 2, 3, 0, 400, 300, 0), 60, 35, 420, 330,
         0},
        {"mirror in x", PlaneTransform(50, 25, -1, 1, 0, 50, 25, 0), 0, 0, 100, 0, 0},
        {"mirror in y", PlaneTransform(50, 25, 1, -1, 0, 50, 25, 0), 0, 0, 0, 50, 0},
        {"both mirrors: a half turn", PlaneTransform(50, 25, -1, -1, 0, 50, 25, 0), 10, 5, 90, 45,
         0},
        {"quarter turn clockwise on screen", PlaneTransform(0, 0, 1, 1, D3DX_PI / 2, 100, 100, 0),
         10, 0, 100, 110, 0},
    };
    for (const Case& c : cases) {
        const D3DXVECTOR3 p = Apply(c.m, c.inX, c.inY);
        EXPECT_NEAR(p.x, c.outX, 1e-3) << c.name;
        EXPECT_NEAR(p.y, c.outY, 1e-3) << c.name;
        EXPECT_NEAR(p.z, c.outZ, 1e-3) << c.name;
    }
}

TEST(Matrix, ProductAppliesTheLeftMatrixFirstAndMayAlias) {
    D3DXMATRIX scale;
    D3DXMATRIX move;
    D3DXMatrixScaling(&scale, 2, 2, 2);
    D3DXMatrixTranslation(&move, 5, 0, 0);
    const D3DXVECTOR3 scaledThenMoved = Apply(scale * move, 1, 0);
    const D3DXVECTOR3 movedThenScaled = Apply(move * scale, 1, 0);
    EXPECT_FLOAT_EQ(scaledThenMoved.x, 7.0f);
    EXPECT_FLOAT_EQ(movedThenScaled.x, 12.0f);

    D3DXMATRIX aliased = scale;
    D3DXMatrixMultiply(&aliased, &aliased, &aliased);
    EXPECT_EQ(aliased, D3DXMATRIX(4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1));
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(identity * move, move);
}

}  // namespace
