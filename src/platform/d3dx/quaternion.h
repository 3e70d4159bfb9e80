#pragma once
// Quaternions of the utility library (x, y, z the vector part, w the scalar part) and the
// decomposition of a matrix into scaling, rotation and translation, in the row-vector
// convention of matrix.h.

#include "platform/d3dx/matrix.h"

struct D3DXQUATERNION {
    float x;
    float y;
    float z;
    float w;
};

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out);
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q);
// Spherical interpolation from a (t 0) to b (t 1) along the shorter arc.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a,
                                    const D3DXQUATERNION* b, float t);
// The rotation of a matrix whose 3 x 3 part is a pure rotation.
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m);
// The rotation matrix of a unit quaternion.
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);
// Splits m into scaling x rotation x translation; D3DERR_INVALIDCALL when a scale is 0.
HRESULT D3DXMatrixDecompose(D3DXVECTOR3* scale, D3DXQUATERNION* rotation, D3DXVECTOR3* translation,
                            const D3DXMATRIX* m);
