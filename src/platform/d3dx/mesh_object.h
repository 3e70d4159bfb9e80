#pragma once
// Making a mesh from its vertices, triangles and face attributes.

#include <cstdint>
#include <vector>

#include "platform/d3dx/d3dx_mesh.h"

namespace d3dx {

struct MeshContents {
    DWORD fvf = 0;
    // D3DXGetFVFVertexSize(fvf) bytes per vertex.
    std::vector<std::uint8_t> vertices;
    // Three vertex indices per face.
    std::vector<std::uint32_t> indices;
    // One attribute id per face; faces of one id should lie together, since each run of equal
    // ids becomes one entry of the attribute table.
    std::vector<DWORD> attributes;
};

// A mesh on `device` with the buffers `options` asks for. D3DERR_INVALIDCALL for inconsistent
// contents (an index naming no vertex, sizes that do not match the format) or an empty mesh.
HRESULT CreateMesh(IDirect3DDevice9* device, DWORD options, const MeshContents& contents,
                   ID3DXMesh** mesh);

}  // namespace d3dx
