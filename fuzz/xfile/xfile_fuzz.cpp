// Loads the input as a plain mesh and as a frame hierarchy with user data, then draws what
// loaded, skins it and plays its animation for a moment.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3dx/xfile_load.h"

namespace {

// Frames and containers as plain records; user data is read whole, children included.
class Records final : public ID3DXAllocateHierarchy, public ID3DXLoadUserData {
public:
    HRESULT CreateFrame(LPCSTR name, D3DXFRAME** frame) override {
        auto* made = new D3DXFRAME{};
        made->Name = name != nullptr ? strdup(name) : nullptr;
        D3DXMatrixIdentity(&made->TransformationMatrix);
        *frame = made;
        return S_OK;
    }
    HRESULT CreateMeshContainer(LPCSTR, const D3DXMESHDATA* data, const D3DXMATERIAL*,
                                const D3DXEFFECTINSTANCE*, DWORD, const DWORD*, ID3DXSkinInfo* skin,
                                D3DXMESHCONTAINER** container) override {
        auto* made = new D3DXMESHCONTAINER{};
        made->MeshData = *data;
        data->pMesh->AddRef();
        made->pSkinInfo = skin;
        if (skin != nullptr) {
            skin->AddRef();
        }
        *container = made;
        return S_OK;
    }
    HRESULT DestroyFrame(D3DXFRAME* frame) override {
        std::free(frame->Name);
        delete frame;
        return S_OK;
    }
    HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* container) override {
        container->MeshData.pMesh->Release();
        if (container->pSkinInfo != nullptr) {
            container->pSkinInfo->Release();
        }
        delete container;
        return S_OK;
    }
    HRESULT LoadTopLevelData(ID3DXFileData* data) override { return Read(data, 0); }
    HRESULT LoadFrameChildData(D3DXFRAME*, ID3DXFileData* data) override { return Read(data, 0); }
    HRESULT LoadMeshChildData(D3DXMESHCONTAINER*, ID3DXFileData* data) override {
        return Read(data, 0);
    }

private:
    static HRESULT Read(ID3DXFileData* data, int depth) {
        SIZE_T size = 0;
        LPCVOID bytes = nullptr;
        data->Lock(&size, &bytes);
        volatile std::uint8_t sum = 0;
        for (SIZE_T i = 0; i < size; ++i) {
            sum = static_cast<std::uint8_t>(sum + static_cast<const std::uint8_t*>(bytes)[i]);
        }
        data->Unlock();
        SIZE_T children = 0;
        data->GetChildren(&children);
        for (SIZE_T i = 0; i < children && depth < 8; ++i) {
            ID3DXFileData* child = nullptr;
            if (SUCCEEDED(data->GetChild(i, &child))) {
                Read(child, depth + 1);
                child->Release();
            }
        }
        return S_OK;
    }
};

IDirect3DDevice9* Device() {
    static IDirect3DDevice9* device = [] {
        static int anchor;
        d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
        IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = 32;
        pp.BackBufferHeight = 32;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = reinterpret_cast<HWND>(&anchor);
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        IDirect3DDevice9* made = nullptr;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, pp.hDeviceWindow,
                          D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &made);
        d3d->Release();
        return made;
    }();
    return device;
}

void Exercise(D3DXFRAME* frame) {
    for (; frame != nullptr; frame = frame->pFrameSibling) {
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c != nullptr;
             c = c->pNextMeshContainer) {
            ID3DXMesh* mesh = c->MeshData.pMesh;
            if (c->pSkinInfo != nullptr && mesh->GetNumVertices() < 100000) {
                std::vector<D3DXMATRIX> bones(c->pSkinInfo->GetNumBones());
                for (D3DXMATRIX& bone : bones) {
                    D3DXMatrixIdentity(&bone);
                }
                std::vector<std::uint8_t> out(mesh->GetNumVertices() *
                                              mesh->GetNumBytesPerVertex());
                void* source = nullptr;
                if (!bones.empty() &&
                    SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &source))) {
                    c->pSkinInfo->UpdateSkinnedMesh(bones.data(), nullptr, source, out.data());
                    mesh->UnlockVertexBuffer();
                }
            }
            mesh->DrawSubset(0);
        }
        Exercise(frame->pFrameFirstChild);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    IDirect3DDevice9* device = Device();
    if (device == nullptr || size > 1 << 20) {
        return 0;
    }
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    if (SUCCEEDED(D3DXLoadMeshFromXInMemory(data, static_cast<DWORD>(size), D3DXMESH_MANAGED,
                                            device, &adjacency, &materials, nullptr, &count,
                                            &mesh))) {
        for (DWORD i = 0; i < count && i < 8; ++i) {
            mesh->DrawSubset(i);
        }
        mesh->Release();
        adjacency->Release();
        materials->Release();
    }
    Records records;
    D3DXFRAME* root = nullptr;
    ID3DXAnimationController* controller = nullptr;
    if (SUCCEEDED(D3DXLoadMeshHierarchyFromXInMemory(data, static_cast<DWORD>(size),
                                                     D3DXMESH_MANAGED, device, &records, &records,
                                                     &root, &controller))) {
        if (controller != nullptr) {
            for (int step = 0; step < 4; ++step) {
                controller->AdvanceTime(0.3, nullptr);
            }
            controller->Release();
        }
        Exercise(root);
        D3DXFrameDestroy(root, &records);
    }
    return 0;
}
