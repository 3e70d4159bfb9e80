#pragma once
// The skin of a mesh: its bones, each with a name (the frame that moves it), an offset matrix
// (from the mesh into the bone's space) and the vertices it moves with their weights; and the
// skinning of the vertices on the processor.

#include <string>
#include <vector>

#include "platform/d3dx/matrix.h"
#include "platform/winbase/win_types.h"

struct ID3DXSkinInfo : public IUnknown {
    virtual DWORD GetNumBones() = 0;
    // Null for a bone index out of range.
    virtual LPCSTR GetBoneName(DWORD bone) = 0;
    virtual D3DXMATRIX* GetBoneOffsetMatrix(DWORD bone) = 0;
    virtual DWORD GetNumBoneInfluences(DWORD bone) = 0;
    // GetNumBoneInfluences(bone) vertex indices and weights.
    virtual HRESULT GetBoneInfluence(DWORD bone, DWORD* vertices, FLOAT* weights) = 0;
    // The most bones any one vertex has.
    virtual HRESULT GetMaxVertexInfluences(DWORD* maxInfluences) = 0;
    virtual DWORD GetFVF() = 0;
    // Writes the position (and the normal, when the format has one) of every vertex of `dest`:
    // the sum over its bones of weight x (source value x the bone's matrix), normals through
    // `boneInvTransposeTransforms` (or the bone matrices when null) without the translation.
    // A vertex no bone moves keeps its source position and normal. The other parts of the
    // destination vertices are left as they are. Source and destination have GetFVF's format.
    virtual HRESULT UpdateSkinnedMesh(const D3DXMATRIX* boneTransforms,
                                      const D3DXMATRIX* boneInvTransposeTransforms, LPCVOID source,
                                      LPVOID dest) = 0;
};

namespace d3dx {

struct SkinBone {
    std::string name;
    D3DXMATRIX offset;
    std::vector<DWORD> vertices;
    std::vector<float> weights;
};

// A skin over `vertexCount` vertices of format `fvf`; D3DERR_INVALIDCALL when a bone names a
// vertex beyond them or its lists differ in length.
HRESULT CreateSkinInfo(DWORD vertexCount, DWORD fvf, std::vector<SkinBone> bones,
                       ID3DXSkinInfo** skin);

}  // namespace d3dx
