#pragma once
// The fixed-function vertex stage: vertex formats, the world, view and projection transforms
// with the viewport, and per-vertex lighting, turning the caller's vertices into the raster
// vertices of one draw call.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3d9/raster_state.h"

namespace d3d9_internal {

// Where the parts of a vertex lie, in bytes from its start (-1 when absent); size 0 when the
// format is not one we draw.
struct VertexLayout {
    UINT size = 0;
    bool untransformed = false;
    int normal = -1;
    int diffuse = -1;
    int specular = -1;
    int texcoord = -1;
};

VertexLayout LayoutOf(DWORD fvf);

// The device states the vertex stage reads for one draw call.
struct VertexStageState {
    D3DMATRIX world;
    D3DMATRIX view;
    D3DMATRIX projection;
    D3DVIEWPORT9 viewport;
    bool lighting = false;
    bool colorVertex = true;
    bool normalizeNormals = false;
    DWORD diffuseSource = D3DMCS_COLOR1;
    DWORD ambientSource = D3DMCS_MATERIAL;
    DWORD emissiveSource = D3DMCS_MATERIAL;
    D3DCOLOR ambient = 0;
    D3DMATERIAL9 material{};
    // The enabled lights, in index order.
    std::vector<D3DLIGHT9> lights;
};

// Reads `count` vertices of `layout` spaced `stride` bytes apart into `out` (resized to
// `count`). Pre-transformed vertices keep their screen positions, colours and rhw. Untransformed
// ones are lit (when `state.lighting`) and projected; a vertex at or behind the eye gets a NaN x,
// which leaves its triangles out.
void ProcessVertices(const VertexLayout& layout, const std::uint8_t* vertices, UINT count,
                     UINT stride, const VertexStageState& state, std::vector<RasterVertex>* out);

}  // namespace d3d9_internal
