#pragma once
// A Mesh data object of an X file read into vertices and triangles: polygons split into
// triangle fans, a vertex for every distinct pair of position and normal, materials with their
// texture names, and the skin weights moved onto the split vertices. Then the device mesh, its
// adjacency and its skin made from it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx/d3dx_mesh.h"
#include "platform/d3dx/matrix.h"
#include "platform/d3dx/skin_info.h"

namespace d3dx {

class XDocument;
struct XData;

struct MaterialEntry {
    D3DMATERIAL9 material{};
    bool hasTexture = false;
    std::string texture;
};

struct MeshGeometry {
    std::string name;
    std::vector<D3DXVECTOR3> positions;
    // Present when the file gives them: as many as positions.
    std::vector<D3DXVECTOR3> normals;
    std::vector<D3DCOLOR> colours;
    std::vector<float> uv;  // two per vertex
    // The position index of the file that each vertex comes from (shared by its copies).
    std::vector<std::uint32_t> pointReps;
    std::vector<std::uint32_t> triangles;  // three vertex indices per face
    std::vector<DWORD> faceAttributes;     // a material index per face
    std::vector<MaterialEntry> materials;  // at least one
    std::vector<SkinBone> bones;           // vertex indices of the split vertices
};

// Reads the Mesh object `mesh`. False with `error` when it is malformed. Child objects the
// reader does not use are listed in `others` (when given).
bool ReadMeshGeometry(const XDocument& document, const XData& mesh, MeshGeometry* geometry,
                      std::string* error, std::vector<const XData*>* others);
// Moves the geometry by `matrix` (normals by its inverse transpose, normalised).
void TransformGeometry(MeshGeometry* geometry, const D3DXMATRIX& matrix);
// Adds `part` to `whole`: vertices, faces (with material indices moved past whole's) and
// materials; a vertex part that only one of them has is filled in with defaults. Bones are not
// merged.
void AppendGeometry(MeshGeometry* whole, const MeshGeometry& part);

// The device mesh of the geometry, faces sorted by material (stable), and its adjacency (three
// neighbouring faces per face, 0xFFFFFFFF for none).
HRESULT MakeMesh(IDirect3DDevice9* device, DWORD options, const MeshGeometry& geometry,
                 ID3DXMesh** mesh, std::vector<DWORD>* adjacency);

}  // namespace d3dx
