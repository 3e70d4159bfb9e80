#include "platform/d3d9/vertex_processing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace d3d9_internal {
namespace {

float ReadFloat(const std::uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

std::uint32_t ReadColour(const std::uint8_t* p) {
    std::uint32_t c;
    std::memcpy(&c, p, 4);
    return c;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    return r;
}

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DCOLORVALUE FromArgb(std::uint32_t argb) {
    constexpr float kScale = 1.0f / 255.0f;
    return D3DCOLORVALUE{static_cast<float>((argb >> 16) & 0xFF) * kScale,
                         static_cast<float>((argb >> 8) & 0xFF) * kScale,
                         static_cast<float>(argb & 0xFF) * kScale,
                         static_cast<float>(argb >> 24) * kScale};
}

std::uint32_t ToChannel(float value) {
    const float clamped = value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
    return static_cast<std::uint32_t>(clamped * 255.0f + 0.5f);
}

// What stays the same for every vertex of a draw: the normal matrix, the directions towards the
// lights and the summed ambient light. With row vectors (p' = p A), normals go through the
// inverse transpose of A, which is A's cofactor matrix over its determinant.
struct LightingSetup {
    float normal[3][3] = {};
    std::vector<Vec3> towardLight;
    std::vector<D3DCOLORVALUE> lightDiffuse;
    D3DCOLORVALUE ambientLight{};
};

LightingSetup PrepareLighting(const VertexStageState& state) {
    LightingSetup setup;
    const auto& m = state.world.m;
    const float c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const float c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const float c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const float det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (det != 0.0f && std::isfinite(det)) {
        const float inverse = 1.0f / det;
        const float cof[3][3] = {
            {c00, c01, c02},
            {m[0][2] * m[2][1] - m[0][1] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
             m[0][1] * m[2][0] - m[0][0] * m[2][1]},
            {m[0][1] * m[1][2] - m[0][2] * m[1][1], m[0][2] * m[1][0] - m[0][0] * m[1][2],
             m[0][0] * m[1][1] - m[0][1] * m[1][0]}};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                setup.normal[row][column] = cof[row][column] * inverse;
            }
        }
    }
    const D3DCOLORVALUE global = FromArgb(state.ambient);
    setup.ambientLight = global;
    for (const D3DLIGHT9& light : state.lights) {
        Vec3 toward{-light.Direction.x, -light.Direction.y, -light.Direction.z};
        const float length = std::sqrt(Dot(toward, toward));
        if (length > 0.0f) {
            toward = Vec3{toward.x / length, toward.y / length, toward.z / length};
        }
        setup.towardLight.push_back(toward);
        setup.lightDiffuse.push_back(light.Diffuse);
        setup.ambientLight.r += light.Ambient.r;
        setup.ambientLight.g += light.Ambient.g;
        setup.ambientLight.b += light.Ambient.b;
    }
    return setup;
}

// The material colour `source` chooses for this vertex.
D3DCOLORVALUE MaterialColour(DWORD source, const D3DCOLORVALUE& material,
                             const VertexStageState& state, const VertexLayout& layout,
                             const std::uint8_t* vertex) {
    if (state.colorVertex) {
        if (source == D3DMCS_COLOR1 && layout.diffuse >= 0) {
            return FromArgb(ReadColour(vertex + layout.diffuse));
        }
        if (source == D3DMCS_COLOR2 && layout.specular >= 0) {
            return FromArgb(ReadColour(vertex + layout.specular));
        }
    }
    return material;
}

std::uint32_t LightVertex(const VertexStageState& state, const LightingSetup& setup,
                          const VertexLayout& layout, const std::uint8_t* vertex) {
    Vec3 n;
    if (layout.normal >= 0) {
        const float nx = ReadFloat(vertex + layout.normal);
        const float ny = ReadFloat(vertex + layout.normal + 4);
        const float nz = ReadFloat(vertex + layout.normal + 8);
        const auto& w = setup.normal;
        n = Vec3{nx * w[0][0] + ny * w[1][0] + nz * w[2][0],
                 nx * w[0][1] + ny * w[1][1] + nz * w[2][1],
                 nx * w[0][2] + ny * w[1][2] + nz * w[2][2]};
        if (state.normalizeNormals) {
            const float length = std::sqrt(Dot(n, n));
            if (length > 0.0f) {
                n = Vec3{n.x / length, n.y / length, n.z / length};
            }
        }
    }
    D3DCOLORVALUE diffuseLight{0, 0, 0, 0};
    for (std::size_t i = 0; i < setup.towardLight.size(); ++i) {
        const float facing = std::max(0.0f, Dot(n, setup.towardLight[i]));
        diffuseLight.r += setup.lightDiffuse[i].r * facing;
        diffuseLight.g += setup.lightDiffuse[i].g * facing;
        diffuseLight.b += setup.lightDiffuse[i].b * facing;
    }
    const D3DCOLORVALUE cd =
        MaterialColour(state.diffuseSource, state.material.Diffuse, state, layout, vertex);
    const D3DCOLORVALUE ca =
        MaterialColour(state.ambientSource, state.material.Ambient, state, layout, vertex);
    const D3DCOLORVALUE ce =
        MaterialColour(state.emissiveSource, state.material.Emissive, state, layout, vertex);
    const D3DCOLORVALUE& al = setup.ambientLight;
    const float r = ce.r + ca.r * al.r + cd.r * diffuseLight.r;
    const float g = ce.g + ca.g * al.g + cd.g * diffuseLight.g;
    const float b = ce.b + ca.b * al.b + cd.b * diffuseLight.b;
    return (ToChannel(cd.a) << 24) | (ToChannel(r) << 16) | (ToChannel(g) << 8) | ToChannel(b);
}

}  // namespace

VertexLayout LayoutOf(DWORD fvf) {
    VertexLayout layout;
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position != D3DFVF_XYZRHW && position != D3DFVF_XYZ) {
        return layout;
    }
    layout.untransformed = position == D3DFVF_XYZ;
    UINT offset = layout.untransformed ? 12 : 16;
    if (fvf & D3DFVF_NORMAL) {
        if (!layout.untransformed) {
            return VertexLayout{};
        }
        layout.normal = static_cast<int>(offset);
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        offset += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuse = static_cast<int>(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.specular = static_cast<int>(offset);
        offset += 4;
    }
    const UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) {
        return VertexLayout{};
    }
    for (UINT i = 0; i < sets; ++i) {
        if (i == 0) {
            layout.texcoord = static_cast<int>(offset);
        }
        // Two bits per set from bit 16: 0 two floats, 1 three, 2 four, 3 one.
        static constexpr UINT kFloats[4] = {2, 3, 4, 1};
        offset += 4 * kFloats[(fvf >> (16 + 2 * i)) & 3];
    }
    layout.size = offset;
    return layout;
}

void ProcessVertices(const VertexLayout& layout, const std::uint8_t* vertices, UINT count,
                     UINT stride, const VertexStageState& state, std::vector<RasterVertex>* out) {
    out->resize(count);
    const bool lit = layout.untransformed && state.lighting;
    LightingSetup lighting;
    if (lit) {
        lighting = PrepareLighting(state);
    }
    for (UINT i = 0; i < count; ++i) {
        const std::uint8_t* v = vertices + static_cast<std::size_t>(i) * stride;
        RasterVertex& r = (*out)[i];
        r.x = ReadFloat(v);
        r.y = ReadFloat(v + 4);
        r.z = ReadFloat(v + 8);
        r.q = layout.untransformed ? 1.0f : ReadFloat(v + 12);
        if (lit) {
            r.diffuse = LightVertex(state, lighting, layout, v);
        } else {
            r.diffuse = layout.diffuse >= 0 ? ReadColour(v + layout.diffuse) : 0xFFFFFFFFu;
        }
        r.u = layout.texcoord >= 0 ? ReadFloat(v + layout.texcoord) : 0.0f;
        r.v = layout.texcoord >= 0 ? ReadFloat(v + layout.texcoord + 4) : 0.0f;
    }
    if (!layout.untransformed) {
        return;
    }
    // World, view and projection (row vectors), the divide by w and the viewport.
    const D3DMATRIX all = Multiply(Multiply(state.world, state.view), state.projection);
    const D3DVIEWPORT9& viewport = state.viewport;
    const float halfWidth = static_cast<float>(viewport.Width) * 0.5f;
    const float halfHeight = static_cast<float>(viewport.Height) * 0.5f;
    for (RasterVertex& v : *out) {
        float clip[4];
        for (int j = 0; j < 4; ++j) {
            clip[j] = v.x * all.m[0][j] + v.y * all.m[1][j] + v.z * all.m[2][j] + all.m[3][j];
        }
        if (!(clip[3] > 0.0f)) {
            v.x = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        const float inverse = 1.0f / clip[3];
        v.x = static_cast<float>(viewport.X) + (clip[0] * inverse + 1.0f) * halfWidth;
        v.y = static_cast<float>(viewport.Y) + (1.0f - clip[1] * inverse) * halfHeight;
        v.z = viewport.MinZ + clip[2] * inverse * (viewport.MaxZ - viewport.MinZ);
        v.q = inverse;
    }
}

}  // namespace d3d9_internal
