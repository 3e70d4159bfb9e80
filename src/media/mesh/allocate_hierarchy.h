#pragma once
// The library's callbacks while an object's hierarchy loads: AllocateHierarchy makes frames
// (D3DFrame) and mesh containers (D3DMesh); ObjectUserDataLoader reads the object's two
// user-data templates. Each holds the object being loaded.

#include "platform/d3dx/frame_hierarchy.h"

struct D3DObject;

// The template of the base transform: "Scale", "Rotate" (degrees about x, y, z) and
// "Position", three floats each.
extern const GUID kBaseTransformTemplate;
// The template of an event table: "Name", "Playback", "Events" and "Data" (Events x three
// 32-bit words).
extern const GUID kEventTableTemplate;

class AllocateHierarchy final : public ID3DXAllocateHierarchy {
public:
    explicit AllocateHierarchy(D3DObject* owner) : object_(owner) {}
    virtual ~AllocateHierarchy() = default;

    // A D3DFrame with identity matrices and a copy of the name; E_OUTOFMEMORY.
    HRESULT CreateFrame(LPCSTR name, D3DXFRAME** newFrame) override;
    // A D3DMesh for a plain mesh with a vertex format (E_FAIL otherwise); a skinned one keeps
    // its skin and source mesh and gets its drawn clone. A failure is logged and leaves none.
    HRESULT CreateMeshContainer(LPCSTR name, const D3DXMESHDATA* meshData,
                                const D3DXMATERIAL* materials,
                                const D3DXEFFECTINSTANCE* effectInstances, DWORD numMaterials,
                                const DWORD* adjacency, ID3DXSkinInfo* skinInfo,
                                D3DXMESHCONTAINER** newMeshContainer) override;
    // Drops a reference; at 0 the frame and its name are freed.
    HRESULT DestroyFrame(D3DXFRAME* frame) override;
    // Releases the container as a D3DMesh.
    HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* meshContainer) override;

private:
    D3DObject* object_;
};

class ObjectUserDataLoader final : public ID3DXLoadUserData {
public:
    explicit ObjectUserDataLoader(D3DObject* owner) : object_(owner) {}
    virtual ~ObjectUserDataLoader() = default;

    // The base transform sets the object's base matrix; an event table joins its event map
    // under the set's name (replacing one of that name). Data of other templates, and data of
    // these too short to read (logged), are left alone. Always 0.
    HRESULT LoadTopLevelData(ID3DXFileData* data) override;
    HRESULT LoadFrameChildData(D3DXFRAME*, ID3DXFileData*) override { return 0; }
    HRESULT LoadMeshChildData(D3DXMESHCONTAINER*, ID3DXFileData*) override { return 0; }

private:
    D3DObject* object_;
};
