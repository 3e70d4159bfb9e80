#pragma once
// Meshes of the utility library: triangle lists in a vertex and an index buffer of the device,
// an attribute (subset) id per face, and the attribute table of the runs of faces sharing an id.

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_buffer.h"
#include "platform/d3dx/d3dx_errors.h"

// Creation options: where the buffers live (the default pool without a flag) and 32-bit
// indices (chosen anyway for more than 65,535 vertices).
constexpr DWORD D3DXMESH_32BIT = 0x001;
constexpr DWORD D3DXMESH_VB_SYSTEMMEM = 0x010;
constexpr DWORD D3DXMESH_VB_MANAGED = 0x020;
constexpr DWORD D3DXMESH_IB_SYSTEMMEM = 0x100;
constexpr DWORD D3DXMESH_IB_MANAGED = 0x200;
constexpr DWORD D3DXMESH_SYSTEMMEM = D3DXMESH_VB_SYSTEMMEM | D3DXMESH_IB_SYSTEMMEM;
constexpr DWORD D3DXMESH_MANAGED = D3DXMESH_VB_MANAGED | D3DXMESH_IB_MANAGED;

struct D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
};

// A material of a mesh file with the name of its texture file (null when it has none).
struct D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;
};

struct D3DXEFFECTDEFAULT;
// The effect of a material; files read here name none, so every instance is empty.
struct D3DXEFFECTINSTANCE {
    LPSTR pEffectFilename;
    DWORD NumDefaults;
    D3DXEFFECTDEFAULT* pDefaults;
};

struct ID3DXMesh : public IUnknown {
    // Draws the faces whose attribute id is `attribId` as indexed triangle lists with the
    // device's current states; nothing when no face has that id.
    virtual HRESULT DrawSubset(DWORD attribId) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetNumBytesPerVertex() = 0;
    virtual DWORD GetOptions() = 0;
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    // A copy with `options` and the vertex format `fvf` (untransformed positions): the parts
    // both formats have are copied, new normals and texture coordinates are 0, new diffuse
    // colours opaque white.
    virtual HRESULT CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device,
                                 ID3DXMesh** clone) = 0;
    virtual HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** buffer) = 0;
    virtual HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** buffer) = 0;
    virtual HRESULT LockVertexBuffer(DWORD flags, LPVOID* data) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    virtual HRESULT LockIndexBuffer(DWORD flags, LPVOID* data) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
    // With `table` null, *size receives the number of entries; else `table` receives *size
    // entries at most.
    virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) = 0;
};

// Bytes of one vertex of an untransformed or pre-transformed format; 0 for one we cannot draw.
UINT D3DXGetFVFVertexSize(DWORD fvf);
