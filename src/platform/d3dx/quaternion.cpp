#include "platform/d3dx/quaternion.h"

#include <cmath>

#include "platform/d3d9/d3d9_types.h"

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
    *out = D3DXQUATERNION{0, 0, 0, 1};
    return out;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
    const float length = std::sqrt(q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w);
    if (!(length > 0.0f)) {
        return D3DXQuaternionIdentity(out);
    }
    *out = D3DXQUATERNION{q->x / length, q->y / length, q->z / length, q->w / length};
    return out;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a,
                                    const D3DXQUATERNION* b, float t) {
    float cosine = a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
    float sign = 1.0f;
    if (cosine < 0.0f) {
        cosine = -cosine;
        sign = -1.0f;
    }
    float wa = 1.0f - t;
    float wb = t;
    // Close together the sine vanishes; interpolate linearly there.
    if (cosine < 0.9995f) {
        const float angle = std::acos(cosine);
        const float sine = std::sin(angle);
        wa = std::sin((1.0f - t) * angle) / sine;
        wb = std::sin(t * angle) / sine;
    }
    wb *= sign;
    const D3DXQUATERNION mixed{wa * a->x + wb * b->x, wa * a->y + wb * b->y, wa * a->z + wb * b->z,
                               wa * a->w + wb * b->w};
    return D3DXQuaternionNormalize(out, &mixed);
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
    const float trace = m->_11 + m->_22 + m->_33;
    D3DXQUATERNION q;
    if (trace > 0.0f) {
        const float s = 0.5f / std::sqrt(trace + 1.0f);
        q = D3DXQUATERNION{(m->_23 - m->_32) * s, (m->_31 - m->_13) * s, (m->_12 - m->_21) * s,
                           0.25f / s};
    } else if (m->_11 > m->_22 && m->_11 > m->_33) {
        const float s = 2.0f * std::sqrt(1.0f + m->_11 - m->_22 - m->_33);
        q = D3DXQUATERNION{0.25f * s, (m->_12 + m->_21) / s, (m->_13 + m->_31) / s,
                           (m->_23 - m->_32) / s};
    } else if (m->_22 > m->_33) {
        const float s = 2.0f * std::sqrt(1.0f + m->_22 - m->_11 - m->_33);
        q = D3DXQUATERNION{(m->_12 + m->_21) / s, 0.25f * s, (m->_23 + m->_32) / s,
                           (m->_31 - m->_13) / s};
    } else {
        const float s = 2.0f * std::sqrt(1.0f + m->_33 - m->_11 - m->_22);
        q = D3DXQUATERNION{(m->_13 + m->_31) / s, (m->_23 + m->_32) / s, 0.25f * s,
                           (m->_12 - m->_21) / s};
    }
    return D3DXQuaternionNormalize(out, &q);
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
    const float x = q->x;
    const float y = q->y;
    const float z = q->z;
    const float w = q->w;
    *out = D3DXMATRIX(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,
                      2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,
                      2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0, 0, 0, 0,
                      1);
    return out;
}

HRESULT D3DXMatrixDecompose(D3DXVECTOR3* scale, D3DXQUATERNION* rotation, D3DXVECTOR3* translation,
                            const D3DXMATRIX* m) {
    auto rowLength = [m](int row) {
        return std::sqrt(m->m[row][0] * m->m[row][0] + m->m[row][1] * m->m[row][1] +
                         m->m[row][2] * m->m[row][2]);
    };
    D3DXVECTOR3 s{rowLength(0), rowLength(1), rowLength(2)};
    if (s.x == 0.0f || s.y == 0.0f || s.z == 0.0f) {
        return D3DERR_INVALIDCALL;
    }
    // A mirroring matrix keeps a proper rotation by a negative x scale.
    const float det = m->_11 * (m->_22 * m->_33 - m->_23 * m->_32) -
                      m->_12 * (m->_21 * m->_33 - m->_23 * m->_31) +
                      m->_13 * (m->_21 * m->_32 - m->_22 * m->_31);
    if (det < 0.0f) {
        s.x = -s.x;
    }
    D3DXMATRIX pure;
    D3DXMatrixIdentity(&pure);
    const float lengths[3] = {s.x, s.y, s.z};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            pure.m[row][column] = m->m[row][column] / lengths[row];
        }
    }
    *scale = s;
    D3DXQuaternionRotationMatrix(rotation, &pure);
    *translation = D3DXVECTOR3{m->_41, m->_42, m->_43};
    return D3D_OK;
}
