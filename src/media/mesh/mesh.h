#pragma once
// D3DMesh: one mesh loaded from an X file, or one mesh container of a D3DObject's frame
// hierarchy, with its materials and their textures, an alpha applied to its materials or
// vertex colours, and for a skinned container the unskinned source mesh, the managed clone
// that is drawn, and the bone matrices. Every mesh is kept in the process-wide mesh list.

#include <string>
#include <vector>

#include "platform/d3dx/frame_hierarchy.h"

struct D3DObject;
struct D3DTexture;

struct D3DMesh : D3DXMESHCONTAINER {
    ULONG refCount = 1;
    std::string path;
    // 0..255.
    int alpha = 255;
    // The vertex colours as loaded, saved the first time alpha is applied to them.
    std::vector<D3DCOLOR> savedColours;
    // Per material: its copy (pMaterials points here), its texture name, its texture (or
    // null), and its id: material i has id i + 1, which Draw and D3DObject::Render take to draw
    // that material alone.
    std::vector<D3DXMATERIAL> materialCopies;
    std::vector<std::string> textureNames;
    std::vector<D3DTexture*> textures;
    std::vector<DWORD> materialIds;
    // A skinned container's unskinned mesh; MeshData.pMesh is then its managed clone.
    ID3DXMesh* sourceMesh = nullptr;
    DWORD attributeCount = 0;
    std::vector<D3DXATTRIBUTERANGE> attributeTable;
    // Per bone: the combined matrix of the frame of the bone's name, and its offset matrix.
    std::vector<D3DXMATRIX*> boneMatrices;
    std::vector<D3DXMATRIX> boneOffsets;
    // The adjacency pAdjacency points to, three faces per face.
    std::vector<DWORD> adjacency;

    // Zero-filled but for alpha 255 and one reference; appended to the mesh list.
    D3DMesh();
    D3DMesh(const D3DMesh&) = delete;
    D3DMesh& operator=(const D3DMesh&) = delete;

    ULONG AddRef() { return ++refCount; }
    // At 0 the mesh leaves the list and is destroyed with what it holds.
    ULONG Release();

    // Reads the X file through the file layer and makes one mesh of it (D3DXMESH_* options).
    HRESULT Load(const char* file, DWORD options);
    // Draws every subset, or only those of material id `materialId` when it is not 0.
    HRESULT Draw(DWORD materialId);
    HRESULT SetAlpha(int newAlpha);
    // For a container with skin information: the managed clone of the source mesh, its
    // attribute table, and `owner`'s skinning buffer grown to this mesh's bones.
    HRESULT GenerateSkinnedMesh(D3DObject* owner);

    // Takes copies of the materials and loads their textures from the folder of `modelPath`.
    HRESULT SetMaterials(const D3DXMATERIAL* materials, DWORD count, const std::string& modelPath);
    // Sets the name (null keeps none); E_OUTOFMEMORY when the copy cannot be made.
    HRESULT SetName(const char* text);

private:
    ~D3DMesh();
};

// The mesh list, in creation order.
const std::vector<D3DMesh*>& MeshList();

// A new D3DMesh loaded from `file`: E_OUTOFMEMORY (*out null) when it cannot be allocated;
// else *out holds it, also when Load fails (the caller releases it).
HRESULT CreateMesh(const char* file, D3DMesh** out, DWORD options);

// The log line of a failed X-file load: "%s: %s" with the result, then what was wrong with
// the file when the reader said.
HRESULT LogXFileFailure(const char* logName, HRESULT result);
