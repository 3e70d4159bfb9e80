#include "media/mesh/allocate_hierarchy.h"

#include <new>

#include "foundation/byte_reader.h"
#include "foundation/log.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"

const GUID kBaseTransformTemplate = {
    0x5E0C6A31, 0x9B4D, 0x4F27, {0x8C, 0x1A, 0x2D, 0x7E, 0x9F, 0x3B, 0x4A, 0x60}};
const GUID kEventTableTemplate = {
    0xA73D2F18, 0x6C52, 0x4E9B, {0xB1, 0xF0, 0x8E, 0x4C, 0x3D, 0x5A, 0x79, 0x12}};

namespace {

constexpr const char* kContainerLog = "AllocateHierarchy::CreateMeshContainer";
constexpr float kDegree = 0.017453292f;

}  // namespace

HRESULT AllocateHierarchy::CreateFrame(LPCSTR name, D3DXFRAME** newFrame) {
    if (newFrame == nullptr) {
        return E_INVALIDARG;
    }
    *newFrame = nullptr;
    auto* frame = new (std::nothrow) D3DFrame();
    if (frame == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (name != nullptr && (frame->Name = DuplicateString(name)) == nullptr) {
        delete frame;
        return E_OUTOFMEMORY;
    }
    D3DXMatrixIdentity(&frame->TransformationMatrix);
    D3DXMatrixIdentity(&frame->combined);
    *newFrame = frame;
    return D3D_OK;
}

HRESULT AllocateHierarchy::CreateMeshContainer(LPCSTR name, const D3DXMESHDATA* meshData,
                                               const D3DXMATERIAL* materials,
                                               const D3DXEFFECTINSTANCE*, DWORD numMaterials,
                                               const DWORD* adjacency, ID3DXSkinInfo* skinInfo,
                                               D3DXMESHCONTAINER** newMeshContainer) {
    *newMeshContainer = nullptr;
    if (meshData == nullptr || meshData->Type != D3DXMESHTYPE_MESH || meshData->pMesh == nullptr ||
        meshData->pMesh->GetFVF() == 0) {
        return LogDeviceError(kContainerLog, E_FAIL);
    }
    auto* mesh = new (std::nothrow) D3DMesh();
    if (mesh == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = mesh->SetName(name);
    if (SUCCEEDED(hr)) {
        ID3DXMesh* source = meshData->pMesh;
        if (adjacency != nullptr) {
            mesh->adjacency.assign(adjacency, adjacency + source->GetNumFaces() * 3);
            mesh->pAdjacency = mesh->adjacency.data();
        }
        mesh->SetMaterials(materials, numMaterials, object_->path);
        mesh->MeshData.Type = D3DXMESHTYPE_MESH;
        mesh->MeshData.pMesh = source;
        source->AddRef();
        if (skinInfo != nullptr) {
            mesh->pSkinInfo = skinInfo;
            skinInfo->AddRef();
            mesh->sourceMesh = source;
            source->AddRef();
            const DWORD bones = skinInfo->GetNumBones();
            mesh->boneOffsets.resize(bones);
            mesh->boneMatrices.assign(bones, nullptr);
            for (DWORD b = 0; b < bones; ++b) {
                mesh->boneOffsets[b] = *skinInfo->GetBoneOffsetMatrix(b);
            }
            hr = mesh->GenerateSkinnedMesh(object_);
        }
    }
    if (FAILED(hr)) {
        LogDeviceError(kContainerLog, hr);
        mesh->Release();
        return hr;
    }
    *newMeshContainer = mesh;
    return D3D_OK;
}

HRESULT AllocateHierarchy::DestroyFrame(D3DXFRAME* frame) {
    auto* owned = static_cast<D3DFrame*>(frame);
    if (owned != nullptr && --owned->refCount == 0) {
        delete[] owned->Name;
        delete owned;
    }
    return D3D_OK;
}

HRESULT AllocateHierarchy::DestroyMeshContainer(D3DXMESHCONTAINER* meshContainer) {
    if (meshContainer != nullptr) {
        static_cast<D3DMesh*>(meshContainer)->Release();
    }
    return D3D_OK;
}

HRESULT ObjectUserDataLoader::LoadTopLevelData(ID3DXFileData* data) {
    GUID type{};
    SIZE_T size = 0;
    LPCVOID bytes = nullptr;
    if (FAILED(data->GetType(&type)) || FAILED(data->Lock(&size, &bytes))) {
        return 0;
    }
    if (type == kBaseTransformTemplate) {
        ByteReader in(bytes, size);
        float values[9];
        for (float& value : values) {
            value = in.F32();
        }
        if (in.Failed()) {
            LogPrintf("D3DObject::Load: the base transform holds fewer than 9 numbers");
        } else {
            D3DXMATRIX s;
            D3DXMATRIX rx;
            D3DXMATRIX ry;
            D3DXMATRIX rz;
            D3DXMATRIX t;
            D3DXMatrixScaling(&s, values[0], values[1], values[2]);
            D3DXMatrixRotationX(&rx, values[3] * kDegree);
            D3DXMatrixRotationY(&ry, values[4] * kDegree);
            D3DXMatrixRotationZ(&rz, values[5] * kDegree);
            D3DXMatrixTranslation(&t, values[6], values[7], values[8]);
            object_->baseMatrix = s * ry * rx * rz * t;
            // The world matrix is made from the base one; rebuild it.
            object_->flags |= kObjectRebuildWorld;
        }
    } else if (type == kEventTableTemplate) {
        std::string setName;
        AnimationEventTable table;
        if (ReadAnimationEventTable(bytes, size, &setName, &table)) {
            object_->eventMap[setName] = table;
        }
    }
    data->Unlock();
    return 0;
}
