#include "platform/d3dx/xfile_load.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/d3dx/animation_controller.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/xfile_animation.h"
#include "platform/d3dx/xfile_document.h"
#include "platform/d3dx/xfile_mesh.h"

namespace d3dx {
namespace {

constexpr double kDefaultTicksPerSecond = 4800.0;
constexpr UINT kControllerTracks = 2;

thread_local std::string lastError;

HRESULT Refuse(HRESULT result, const std::string& why) {
    lastError = why;
    return result;
}

D3DXMATRIX MatrixOf(const XData& transform) {
    ByteReader in(transform.record.data(), transform.record.size());
    D3DXMATRIX m;
    for (int i = 0; i < 16; ++i) {
        m.m[i / 4][i % 4] = in.F32();
    }
    if (in.Failed()) {
        D3DXMatrixIdentity(&m);
    }
    return m;
}

// The frame's own matrix: its FrameTransformMatrix child, else identity.
D3DXMATRIX LocalMatrix(const XDocument& document, const XData& frame) {
    for (const auto& child : frame.children) {
        const XData* data = document.Resolve(child.get());
        if (data != nullptr && data->identifier == "FrameTransformMatrix") {
            return MatrixOf(*data);
        }
    }
    D3DXMATRIX identity;
    return *D3DXMatrixIdentity(&identity);
}

std::shared_ptr<XDocument> ParseFile(LPCVOID memory, DWORD size, HRESULT* result) {
    auto document = std::make_shared<XDocument>();
    std::string error;
    if (memory == nullptr || !document->Parse(memory, size, &error)) {
        *result = Refuse(D3DXERR_INVALIDDATA, memory == nullptr ? "no file" : error);
        return nullptr;
    }
    *result = D3D_OK;
    return document;
}

// Every mesh under `data` (a Frame or a Mesh), moved by the frames' matrices.
bool CollectMeshes(const XDocument& document, const XData& data, const D3DXMATRIX& parent,
                   int depth, MeshGeometry* whole, bool* found, std::string* error) {
    if (data.identifier == "Mesh") {
        MeshGeometry part;
        if (!ReadMeshGeometry(document, data, &part, error, nullptr)) {
            return false;
        }
        TransformGeometry(&part, parent);
        AppendGeometry(whole, part);
        *found = true;
        return true;
    }
    if (data.identifier != "Frame" || depth > 100) {
        return true;
    }
    const D3DXMATRIX combined = LocalMatrix(document, data) * parent;
    for (const auto& child : data.children) {
        const XData* target = document.Resolve(child.get());
        if (target != nullptr &&
            !CollectMeshes(document, *target, combined, depth + 1, whole, found, error)) {
            return false;
        }
    }
    return true;
}

HRESULT MaterialBuffers(const MeshGeometry& g, ID3DXBuffer** materials,
                        ID3DXBuffer** effectInstances) {
    if (materials != nullptr) {
        std::size_t names = 0;
        for (const MaterialEntry& entry : g.materials) {
            names += entry.hasTexture ? entry.texture.size() + 1 : 0;
        }
        const std::size_t table = sizeof(D3DXMATERIAL) * g.materials.size();
        HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(table + names), materials);
        if (FAILED(hr)) {
            return hr;
        }
        auto* base = static_cast<std::uint8_t*>((*materials)->GetBufferPointer());
        auto* entries = reinterpret_cast<D3DXMATERIAL*>(base);
        char* text = reinterpret_cast<char*>(base + table);
        for (std::size_t i = 0; i < g.materials.size(); ++i) {
            entries[i].MatD3D = g.materials[i].material;
            entries[i].pTextureFilename = nullptr;
            if (g.materials[i].hasTexture) {
                const std::string& name = g.materials[i].texture;
                std::memcpy(text, name.c_str(), name.size() + 1);
                entries[i].pTextureFilename = text;
                text += name.size() + 1;
            }
        }
    }
    if (effectInstances != nullptr) {
        return D3DXCreateBuffer(static_cast<DWORD>(sizeof(D3DXEFFECTINSTANCE) * g.materials.size()),
                                effectInstances);
    }
    return D3D_OK;
}

// The loading of one hierarchy.
class HierarchyLoader {
public:
    HierarchyLoader(std::shared_ptr<XDocument> document, DWORD options, IDirect3DDevice9* device,
                    ID3DXAllocateHierarchy* alloc, ID3DXLoadUserData* user)
        : document_(std::move(document)),
          options_(options),
          device_(device),
          alloc_(alloc),
          user_(user) {}

    HRESULT Load(D3DXFRAME** root, ID3DXAnimationController** controller);

private:
    HRESULT BuildFrame(const XData& data, int depth, D3DXFRAME** slot);
    HRESULT AddMesh(D3DXFRAME* frame, const XData& data);
    HRESULT HandToUser(const XData& data, D3DXFRAME* frame, D3DXMESHCONTAINER* container);
    HRESULT BuildController(ID3DXAnimationController** controller);

    std::shared_ptr<XDocument> document_;
    DWORD options_;
    IDirect3DDevice9* device_;
    ID3DXAllocateHierarchy* alloc_;
    ID3DXLoadUserData* user_;
    D3DXFRAME* root_ = nullptr;
    std::vector<D3DXFRAME*> frames_;
    double ticksPerSecond_ = kDefaultTicksPerSecond;
};

HRESULT HierarchyLoader::HandToUser(const XData& data, D3DXFRAME* frame,
                                    D3DXMESHCONTAINER* container) {
    if (user_ == nullptr) {
        return D3D_OK;
    }
    ComPtr<ID3DXFileData> wrapped(WrapFileData(document_, &data));
    if (wrapped == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr;
    if (container != nullptr) {
        hr = user_->LoadMeshChildData(container, wrapped.get());
    } else if (frame != nullptr) {
        hr = user_->LoadFrameChildData(frame, wrapped.get());
    } else {
        hr = user_->LoadTopLevelData(wrapped.get());
    }
    return FAILED(hr) ? Refuse(hr, "the user data of " + data.identifier + " was refused") : hr;
}

HRESULT HierarchyLoader::AddMesh(D3DXFRAME* frame, const XData& data) {
    MeshGeometry geometry;
    std::string error;
    std::vector<const XData*> others;
    if (!ReadMeshGeometry(*document_, data, &geometry, &error, &others)) {
        return Refuse(D3DXERR_INVALIDDATA, error);
    }
    ID3DXMesh* made = nullptr;
    std::vector<DWORD> adjacency;
    HRESULT hr = MakeMesh(device_, options_, geometry, &made, &adjacency);
    if (FAILED(hr)) {
        return Refuse(hr, "mesh " + data.name + " could not be made");
    }
    ComPtr<ID3DXMesh> mesh(made);
    ComPtr<ID3DXSkinInfo> skin;
    if (!geometry.bones.empty()) {
        ID3DXSkinInfo* skinInfo = nullptr;
        hr = CreateSkinInfo(mesh->GetNumVertices(), mesh->GetFVF(), geometry.bones, &skinInfo);
        if (FAILED(hr)) {
            return Refuse(hr, "the skin of mesh " + data.name + " could not be made");
        }
        skin.reset(skinInfo);
    }
    std::vector<D3DXMATERIAL> materials(geometry.materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        materials[i].MatD3D = geometry.materials[i].material;
        materials[i].pTextureFilename =
            geometry.materials[i].hasTexture ? geometry.materials[i].texture.data() : nullptr;
    }
    const std::vector<D3DXEFFECTINSTANCE> effects(materials.size(), D3DXEFFECTINSTANCE{});
    const D3DXMESHDATA meshData{D3DXMESHTYPE_MESH, mesh.get()};
    D3DXMESHCONTAINER* container = nullptr;
    hr = alloc_->CreateMeshContainer(data.name.empty() ? nullptr : data.name.c_str(), &meshData,
                                     materials.data(), effects.data(),
                                     static_cast<DWORD>(materials.size()), adjacency.data(),
                                     skin.get(), &container);
    if (FAILED(hr)) {
        return Refuse(hr, "mesh " + data.name + " was refused");
    }
    if (container == nullptr) {
        return D3D_OK;
    }
    D3DXMESHCONTAINER** slot = &frame->pMeshContainer;
    while (*slot != nullptr) {
        slot = &(*slot)->pNextMeshContainer;
    }
    *slot = container;
    for (const XData* other : others) {
        if (FAILED(hr = HandToUser(*other, nullptr, container))) {
            return hr;
        }
    }
    return D3D_OK;
}

HRESULT HierarchyLoader::BuildFrame(const XData& data, int depth, D3DXFRAME** slot) {
    if (depth > 100) {
        return Refuse(D3DXERR_INVALIDDATA, "frames nested too deeply");
    }
    D3DXFRAME* frame = nullptr;
    const bool isFrame = data.identifier == "Frame";
    const char* name = isFrame && !data.name.empty() ? data.name.c_str() : nullptr;
    HRESULT hr = alloc_->CreateFrame(name, &frame);
    if (FAILED(hr) || frame == nullptr) {
        return Refuse(FAILED(hr) ? hr : E_OUTOFMEMORY, "a frame was refused");
    }
    *slot = frame;
    frames_.push_back(frame);
    if (!isFrame) {
        return AddMesh(frame, data);
    }
    D3DXFRAME** nextChild = &frame->pFrameFirstChild;
    for (const auto& child : data.children) {
        const XData* target = document_->Resolve(child.get());
        if (target == nullptr) {
            return Refuse(D3DXERR_INVALIDDATA, "frame " + data.name + " refers to no object");
        }
        if (target->identifier == "FrameTransformMatrix") {
            frame->TransformationMatrix = MatrixOf(*target);
        } else if (target->identifier == "Mesh") {
            hr = AddMesh(frame, *target);
        } else if (target->identifier == "Frame") {
            hr = BuildFrame(*target, depth + 1, nextChild);
            if (*nextChild != nullptr) {
                nextChild = &(*nextChild)->pFrameSibling;
            }
        } else {
            hr = HandToUser(*target, frame, nullptr);
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    return D3D_OK;
}

HRESULT HierarchyLoader::BuildController(ID3DXAnimationController** controller) {
    std::vector<const XData*> sets;
    for (const auto& object : document_->Objects()) {
        if (object->identifier == "AnimationSet") {
            sets.push_back(object.get());
        }
    }
    if (sets.empty()) {
        return D3D_OK;
    }
    ID3DXAnimationController* made = nullptr;
    HRESULT hr = CreateAnimationController(kControllerTracks, &made);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<ID3DXAnimationController> owned(made);
    for (D3DXFRAME* frame : frames_) {
        if (frame->Name != nullptr) {
            owned->RegisterAnimationOutput(frame->Name, &frame->TransformationMatrix, nullptr,
                                           nullptr, nullptr);
        }
    }
    const FrameMatrixLookup lookup = [this](const std::string& name) -> const D3DXMATRIX* {
        const D3DXFRAME* frame = D3DXFrameFind(root_, name.c_str());
        return frame != nullptr ? &frame->TransformationMatrix : nullptr;
    };
    for (const XData* set : sets) {
        AnimationSetData data;
        std::string error;
        if (!ReadAnimationSet(*document_, *set, ticksPerSecond_, lookup, &data, &error)) {
            return Refuse(D3DXERR_INVALIDDATA, error);
        }
        ID3DXKeyframedAnimationSet* keyframed = nullptr;
        if (FAILED(hr = CreateKeyframedAnimationSet(std::move(data), &keyframed))) {
            return hr;
        }
        hr = owned->RegisterAnimationSet(keyframed);
        keyframed->Release();
        if (FAILED(hr)) {
            return hr;
        }
    }
    ID3DXAnimationSet* first = nullptr;
    if (SUCCEEDED(owned->GetAnimationSet(0, &first))) {
        owned->SetTrackAnimationSet(0, first);
        first->Release();
    }
    for (UINT track = 1; track < kControllerTracks; ++track) {
        owned->SetTrackEnable(track, FALSE);
    }
    *controller = owned.release();
    return D3D_OK;
}

HRESULT HierarchyLoader::Load(D3DXFRAME** root, ID3DXAnimationController** controller) {
    HRESULT hr = D3D_OK;
    D3DXFRAME** nextTop = &root_;
    for (const auto& object : document_->Objects()) {
        const std::string& kind = object->identifier;
        if (kind == "AnimTicksPerSecond") {
            ByteReader in(object->record.data(), object->record.size());
            const std::uint32_t ticks = in.U32();
            if (in.Failed() || ticks == 0) {
                hr = Refuse(D3DXERR_INVALIDDATA, "0 animation ticks per second");
            } else {
                ticksPerSecond_ = ticks;
            }
        } else if (kind == "Frame" || kind == "Mesh") {
            hr = BuildFrame(*object, 0, nextTop);
            if (*nextTop != nullptr) {
                nextTop = &(*nextTop)->pFrameSibling;
            }
        } else if (kind != "AnimationSet" && kind != "Material" && kind != "Header") {
            hr = HandToUser(*object, nullptr, nullptr);
        }
        if (FAILED(hr)) {
            break;
        }
    }
    if (SUCCEEDED(hr) && root_ == nullptr) {
        hr = Refuse(D3DXERR_LOADEDMESHHASNODATA, "the file holds no frame and no mesh");
    }
    if (SUCCEEDED(hr) && controller != nullptr) {
        hr = BuildController(controller);
    }
    if (FAILED(hr)) {
        if (root_ != nullptr) {
            D3DXFrameDestroy(root_, alloc_);
        }
        return hr;
    }
    *root = root_;
    return D3D_OK;
}

}  // namespace

const char* LastXFileError() {
    return lastError.c_str();
}

}  // namespace d3dx

HRESULT D3DXLoadMeshFromXInMemory(LPCVOID memory, DWORD size, DWORD options,
                                  IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                                  ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                                  DWORD* numMaterials, ID3DXMesh** mesh) {
    using namespace d3dx;
    for (ID3DXBuffer** out : {adjacency, materials, effectInstances}) {
        if (out != nullptr) {
            *out = nullptr;
        }
    }
    if (mesh == nullptr || device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *mesh = nullptr;
    lastError.clear();
    HRESULT hr = D3D_OK;
    const std::shared_ptr<XDocument> document = ParseFile(memory, size, &hr);
    if (document == nullptr) {
        return hr;
    }
    MeshGeometry whole;
    bool found = false;
    std::string error;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (const auto& object : document->Objects()) {
        if (!CollectMeshes(*document, *object, identity, 0, &whole, &found, &error)) {
            return Refuse(D3DXERR_INVALIDDATA, error);
        }
    }
    if (!found) {
        return Refuse(D3DXERR_LOADEDMESHHASNODATA, "the file holds no mesh");
    }
    std::vector<DWORD> faces;
    ID3DXMesh* made = nullptr;
    if (FAILED(hr = MakeMesh(device, options, whole, &made, &faces))) {
        return Refuse(hr, "the mesh could not be made");
    }
    ComPtr<ID3DXMesh> owned(made);
    ComPtr<ID3DXBuffer> adjacencyBuffer;
    if (adjacency != nullptr) {
        ID3DXBuffer* buffer = nullptr;
        if (FAILED(hr = D3DXCreateBuffer(static_cast<DWORD>(faces.size() * 4), &buffer))) {
            return hr;
        }
        adjacencyBuffer.reset(buffer);
        std::memcpy(buffer->GetBufferPointer(), faces.data(), faces.size() * 4);
    }
    ID3DXBuffer* materialBuffer = nullptr;
    ID3DXBuffer* effectBuffer = nullptr;
    if (FAILED(hr = MaterialBuffers(whole, materials != nullptr ? &materialBuffer : nullptr,
                                    effectInstances != nullptr ? &effectBuffer : nullptr))) {
        if (materialBuffer != nullptr) {
            materialBuffer->Release();
        }
        return hr;
    }
    if (adjacency != nullptr) {
        *adjacency = adjacencyBuffer.release();
    }
    if (materials != nullptr) {
        *materials = materialBuffer;
    }
    if (effectInstances != nullptr) {
        *effectInstances = effectBuffer;
    }
    if (numMaterials != nullptr) {
        *numMaterials = static_cast<DWORD>(whole.materials.size());
    }
    *mesh = owned.release();
    return D3D_OK;
}

HRESULT D3DXLoadMeshHierarchyFromXInMemory(LPCVOID memory, DWORD size, DWORD options,
                                           IDirect3DDevice9* device, ID3DXAllocateHierarchy* alloc,
                                           ID3DXLoadUserData* userDataLoader,
                                           D3DXFRAME** frameHierarchy,
                                           ID3DXAnimationController** animationController) {
    using namespace d3dx;
    if (frameHierarchy == nullptr || alloc == nullptr || device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *frameHierarchy = nullptr;
    if (animationController != nullptr) {
        *animationController = nullptr;
    }
    lastError.clear();
    HRESULT hr = D3D_OK;
    std::shared_ptr<XDocument> document = ParseFile(memory, size, &hr);
    if (document == nullptr) {
        return hr;
    }
    HierarchyLoader loader(std::move(document), options, device, alloc, userDataLoader);
    return loader.Load(frameHierarchy, animationController);
}
