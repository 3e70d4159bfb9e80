// Drawing a D3DMesh, and the managed clone a skinned mesh container draws.

#include <algorithm>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"

namespace {

constexpr const char* kDrawLog = "D3DMesh::Draw";
constexpr const char* kSkinLog = "D3DMesh::GenerateSkinnedMesh";

}  // namespace

HRESULT D3DMesh::Draw(DWORD materialId) {
    IDirect3DDevice9* device = CurrentDevice();
    ID3DXMesh* mesh = MeshData.pMesh;
    if (device == nullptr || mesh == nullptr) {
        return LogDeviceError(kDrawLog, E_FAIL);
    }
    const bool skinned = pSkinInfo != nullptr;
    const std::size_t subsets = skinned ? attributeTable.size() : NumMaterials;
    const bool vertexColours = (mesh->GetFVF() & D3DFVF_DIFFUSE) != 0;
    for (std::size_t i = 0; i < subsets; ++i) {
        const DWORD attribute = skinned ? attributeTable[i].AttribId : static_cast<DWORD>(i);
        // A subset of no material (the loader makes none) is left out.
        if (attribute >= materialCopies.size()) {
            continue;
        }
        if (materialId != 0 && materialIds[attribute] != materialId) {
            continue;
        }
        D3DMATERIAL9 material = materialCopies[attribute].MatD3D;
        if (alpha != 255 && !vertexColours) {
            material.Diffuse.a *= static_cast<float>(alpha) * (1.0f / 255.0f);
        }
        HRESULT hr = device->SetMaterial(&material);
        if (SUCCEEDED(hr)) {
            hr = D3D_SetTexture(0, textures[attribute]);
        }
        if (SUCCEEDED(hr)) {
            hr = mesh->DrawSubset(attribute);
        }
        if (FAILED(hr)) {
            return LogDeviceError(kDrawLog, hr);
        }
    }
    return D3D_OK;
}

HRESULT D3DMesh::GenerateSkinnedMesh(D3DObject* owner) {
    if (pSkinInfo == nullptr || sourceMesh == nullptr) {
        return D3D_OK;
    }
    ID3DXMesh* clone = nullptr;
    HRESULT hr =
        sourceMesh->CloneMeshFVF(D3DXMESH_MANAGED, sourceMesh->GetFVF(), CurrentDevice(), &clone);
    if (FAILED(hr)) {
        return LogDeviceError(kSkinLog, hr);
    }
    if (MeshData.pMesh != nullptr) {
        MeshData.pMesh->Release();
    }
    MeshData.pMesh = clone;
    attributeCount = 0;
    if (FAILED(hr = clone->GetAttributeTable(nullptr, &attributeCount))) {
        return LogDeviceError(kSkinLog, hr);
    }
    attributeTable.resize(attributeCount);
    if (attributeCount > 0 &&
        FAILED(hr = clone->GetAttributeTable(attributeTable.data(), &attributeCount))) {
        return LogDeviceError(kSkinLog, hr);
    }
    if (owner != nullptr) {
        owner->maxBones = std::max(owner->maxBones, pSkinInfo->GetNumBones());
        owner->skinningMatrices.resize(owner->maxBones);
    }
    return D3D_OK;
}
