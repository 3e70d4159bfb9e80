#pragma once
// Frame hierarchies of the utility library: frames with their transformation matrices, the
// mesh containers they carry, and the allocation and user-data callbacks through which a
// program loads a hierarchy into its own records.

#include "platform/d3dx/animation.h"
#include "platform/d3dx/d3dx_mesh.h"
#include "platform/d3dx/skin_info.h"
#include "platform/d3dx/xfile_data.h"

enum D3DXMESHDATATYPE : DWORD {
    D3DXMESHTYPE_MESH = 1,
    D3DXMESHTYPE_PMESH = 2,
    D3DXMESHTYPE_PATCHMESH = 3,
};

struct D3DXMESHDATA {
    D3DXMESHDATATYPE Type;
    ID3DXMesh* pMesh;
};

struct D3DXMESHCONTAINER {
    LPSTR Name;
    D3DXMESHDATA MeshData;
    D3DXMATERIAL* pMaterials;
    D3DXEFFECTINSTANCE* pEffects;
    DWORD NumMaterials;
    DWORD* pAdjacency;
    ID3DXSkinInfo* pSkinInfo;
    D3DXMESHCONTAINER* pNextMeshContainer;
};

struct D3DXFRAME {
    LPSTR Name;
    D3DXMATRIX TransformationMatrix;
    D3DXMESHCONTAINER* pMeshContainer;
    D3DXFRAME* pFrameSibling;
    D3DXFRAME* pFrameFirstChild;
};

// How the loader makes and frees the program's frame and mesh container records.
struct ID3DXAllocateHierarchy {
    // `name` may be null (a frame the file does not name).
    virtual HRESULT CreateFrame(LPCSTR name, D3DXFRAME** newFrame) = 0;
    // The record takes what it keeps: the loader releases its own references to the mesh and
    // the skin afterwards, and the material and adjacency arrays live only for the call.
    virtual HRESULT CreateMeshContainer(LPCSTR name, const D3DXMESHDATA* meshData,
                                        const D3DXMATERIAL* materials,
                                        const D3DXEFFECTINSTANCE* effectInstances,
                                        DWORD numMaterials, const DWORD* adjacency,
                                        ID3DXSkinInfo* skinInfo,
                                        D3DXMESHCONTAINER** newMeshContainer) = 0;
    virtual HRESULT DestroyFrame(D3DXFRAME* frame) = 0;
    virtual HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* meshContainer) = 0;

protected:
    ~ID3DXAllocateHierarchy() = default;
};

// Receives the data objects of the file that the loader does not read itself. A failure stops
// the load with that result.
struct ID3DXLoadUserData {
    virtual HRESULT LoadTopLevelData(ID3DXFileData* data) = 0;
    virtual HRESULT LoadFrameChildData(D3DXFRAME* frame, ID3DXFileData* data) = 0;
    virtual HRESULT LoadMeshChildData(D3DXMESHCONTAINER* meshContainer, ID3DXFileData* data) = 0;

protected:
    ~ID3DXLoadUserData() = default;
};

// Destroys the frames from `frameRoot` on (its siblings too), each mesh container before its
// frame, children before their parent, through `alloc`.
HRESULT D3DXFrameDestroy(D3DXFRAME* frameRoot, ID3DXAllocateHierarchy* alloc);
// The first frame named `name` (exact comparison), depth first from `frameRoot`; null when
// none.
D3DXFRAME* D3DXFrameFind(const D3DXFRAME* frameRoot, LPCSTR name);
