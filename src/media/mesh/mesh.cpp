#include "media/mesh/mesh.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/log.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/loaded_file.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/xfile_load.h"
#include "platform/winbase/shell_path.h"

namespace {

constexpr const char* kLoadLog = "D3DMesh::Load";

std::vector<D3DMesh*>& MutableMeshList() {
    static std::vector<D3DMesh*> list;
    return list;
}

// Bytes from a vertex's start to its diffuse colour.
UINT DiffuseOffset(DWORD fvf) {
    return 12 + ((fvf & D3DFVF_NORMAL) ? 12 : 0) + ((fvf & D3DFVF_PSIZE) ? 4 : 0);
}

}  // namespace

const std::vector<D3DMesh*>& MeshList() {
    return MutableMeshList();
}

HRESULT LogXFileFailure(const char* logName, HRESULT result) {
    LogDeviceError(logName, result);
    const char* reason = d3dx::LastXFileError();
    if (reason != nullptr && *reason != '\0') {
        LogPrintf("%s: %s", logName, reason);
    }
    return result;
}

D3DMesh::D3DMesh() : D3DXMESHCONTAINER{} {
    MutableMeshList().push_back(this);
}

D3DMesh::~D3DMesh() {
    if (MeshData.pMesh != nullptr) {
        MeshData.pMesh->Release();
    }
    if (sourceMesh != nullptr) {
        sourceMesh->Release();
    }
    if (pSkinInfo != nullptr) {
        pSkinInfo->Release();
    }
    for (D3DTexture* texture : textures) {
        if (texture != nullptr) {
            texture->Release();
        }
    }
    delete[] Name;
    auto& list = MutableMeshList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

ULONG D3DMesh::Release() {
    const ULONG count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT D3DMesh::SetName(const char* text) {
    char* copy = text != nullptr ? DuplicateString(text) : nullptr;
    if (text != nullptr && copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    delete[] Name;
    Name = copy;
    return D3D_OK;
}

HRESULT D3DMesh::SetMaterials(const D3DXMATERIAL* materials, DWORD count,
                              const std::string& modelPath) {
    materialCopies.assign(materials, materials + count);
    textureNames.assign(count, std::string());
    textures.assign(count, nullptr);
    materialIds.resize(count);
    char folder[MAX_PATH] = {};
    modelPath.copy(folder, MAX_PATH - 1);
    PathRemoveFileSpecA(folder);
    for (DWORD i = 0; i < count; ++i) {
        materialIds[i] = i + 1;
        materialCopies[i].pTextureFilename = nullptr;
        if (materials[i].pTextureFilename == nullptr) {
            continue;
        }
        textureNames[i] = materials[i].pTextureFilename;
        materialCopies[i].pTextureFilename = textureNames[i].data();
        char texturePath[MAX_PATH] = {};
        if (PathCombineA(texturePath, folder, textureNames[i].c_str()) == nullptr) {
            continue;
        }
        // A missing texture is logged by the texture layer; the material draws without one.
        D3DTexture* texture = nullptr;
        if (FAILED(D3D_LoadTexture(texturePath, &texture, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                   D3DX_FILTER_NONE))) {
            if (texture != nullptr) {
                texture->Release();
            }
            continue;
        }
        textures[i] = texture;
    }
    pMaterials = materialCopies.data();
    NumMaterials = count;
    return D3D_OK;
}

HRESULT D3DMesh::Load(const char* file, DWORD options) {
    LoadedFile bytes(file);
    if (!bytes.ok()) {
        return LogDeviceError(kLoadLog, E_FAIL);
    }
    path = file;
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    const HRESULT hr =
        D3DXLoadMeshFromXInMemory(bytes.data(), bytes.size(), options, CurrentDevice(), nullptr,
                                  &materials, nullptr, &count, &mesh);
    if (FAILED(hr)) {
        return LogXFileFailure(kLoadLog, hr);
    }
    d3dx::ComPtr<ID3DXBuffer> materialBuffer(materials);
    MeshData.Type = D3DXMESHTYPE_MESH;
    MeshData.pMesh = mesh;
    SetMaterials(static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer()), count, file);
    if (Name == nullptr && FAILED(SetName(PathFindFileNameA(file)))) {
        return LogDeviceError(kLoadLog, E_OUTOFMEMORY);
    }
    return D3D_OK;
}

HRESULT D3DMesh::SetAlpha(int newAlpha) {
    newAlpha = std::clamp(newAlpha, 0, 255);
    ID3DXMesh* mesh = MeshData.pMesh;
    if (mesh != nullptr && (mesh->GetFVF() & D3DFVF_DIFFUSE) != 0 && newAlpha != alpha) {
        void* data = nullptr;
        const HRESULT hr = mesh->LockVertexBuffer(0, &data);
        if (FAILED(hr)) {
            return hr;
        }
        const DWORD vertices = mesh->GetNumVertices();
        const DWORD stride = mesh->GetNumBytesPerVertex();
        const UINT offset = DiffuseOffset(mesh->GetFVF());
        auto* bytes = static_cast<std::uint8_t*>(data);
        if (savedColours.empty()) {
            savedColours.resize(vertices);
            for (DWORD v = 0; v < vertices; ++v) {
                std::memcpy(&savedColours[v], bytes + v * stride + offset, 4);
            }
        }
        for (DWORD v = 0; v < vertices && v < savedColours.size(); ++v) {
            const D3DCOLOR saved = savedColours[v];
            const D3DCOLOR colour = (saved & 0x00FFFFFFu) |
                                    (((saved >> 24) * static_cast<DWORD>(newAlpha) / 255) << 24);
            std::memcpy(bytes + v * stride + offset, &colour, 4);
        }
        mesh->UnlockVertexBuffer();
    }
    alpha = newAlpha;
    return D3D_OK;
}

HRESULT CreateMesh(const char* file, D3DMesh** out, DWORD options) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = new (std::nothrow) D3DMesh();
    if (*out == nullptr) {
        return E_OUTOFMEMORY;
    }
    return (*out)->Load(file, options);
}
