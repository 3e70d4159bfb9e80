// Loading a D3DObject: the hierarchy with its user data, the bones, and the animation sets
// rebuilt with the callback keys of their event tables.

#include <cstdint>
#include <vector>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/loaded_file.h"
#include "media/mesh/allocate_hierarchy.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"
#include "platform/d3dx/xfile_load.h"
#include "platform/winbase/shell_path.h"

namespace {

constexpr const char* kLoadLog = "D3DObject::Load";

// Points every bone of the skinned containers under `frame` at its frame's combined matrix;
// E_FAIL for a bone without a frame.
HRESULT BindBones(D3DXFRAME* root, D3DXFRAME* frame) {
    for (; frame != nullptr; frame = frame->pFrameSibling) {
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c != nullptr;
             c = c->pNextMeshContainer) {
            auto* mesh = static_cast<D3DMesh*>(c);
            if (mesh->pSkinInfo == nullptr) {
                continue;
            }
            for (DWORD b = 0; b < mesh->boneMatrices.size(); ++b) {
                D3DXFRAME* bone = D3DXFrameFind(root, mesh->pSkinInfo->GetBoneName(b));
                if (bone == nullptr) {
                    return E_FAIL;
                }
                mesh->boneMatrices[b] = &static_cast<D3DFrame*>(bone)->combined;
            }
        }
        if (const HRESULT hr = BindBones(root, frame->pFrameFirstChild); FAILED(hr)) {
            return hr;
        }
    }
    return D3D_OK;
}

}  // namespace

HRESULT D3DObject::Load(const char* file, DWORD options) {
    LoadedFile bytes(file);
    if (!bytes.ok()) {
        return LogDeviceError(kLoadLog, E_FAIL);
    }
    path = file;
    AllocateHierarchy allocator(this);
    ObjectUserDataLoader userData(this);
    HRESULT hr =
        D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), bytes.size(), options, CurrentDevice(),
                                           &allocator, &userData, &rootFrame, &controller);
    if (FAILED(hr)) {
        return LogXFileFailure(kLoadLog, hr);
    }
    if (FAILED(hr = BindBones(rootFrame, rootFrame))) {
        return LogDeviceError(kLoadLog, hr);
    }
    if (name.empty()) {
        name = rootFrame->Name != nullptr && rootFrame->Name[0] != '\0' ? rootFrame->Name
                                                                        : PathFindFileNameA(file);
    }
    if (FAILED(hr = PrepareAnimationSets())) {
        return LogDeviceError(kLoadLog, hr);
    }
    flags |= kObjectAdvanceAlways;
    time = 0.0;
    animationSetNames.clear();
    animationSetCount = 0;
    if (controller != nullptr) {
        controller->ResetTime();
        animationSetCount = controller->GetNumAnimationSets();
        for (DWORD i = 0; i < animationSetCount; ++i) {
            ID3DXAnimationSet* set = nullptr;
            controller->GetAnimationSet(i, &set);
            animationSetNames.emplace_back(set->GetName());
            set->Release();
        }
    }
    return D3D_OK;
}

HRESULT D3DObject::PrepareAnimationSets() {
    if (controller == nullptr) {
        return D3D_OK;
    }
    // Every set is taken first, so that replacing one does not move the others under the loop.
    std::vector<ID3DXAnimationSet*> sets(controller->GetNumAnimationSets(), nullptr);
    for (UINT i = 0; i < sets.size(); ++i) {
        controller->GetAnimationSet(i, &sets[i]);
    }
    HRESULT hr = D3D_OK;
    for (ID3DXAnimationSet* set : sets) {
        ID3DXKeyframedAnimationSet* keyframed = nullptr;
        ID3DXBuffer* packed = nullptr;
        ID3DXCompressedAnimationSet* rebuilt = nullptr;
        if (SUCCEEDED(hr)) {
            hr = set->QueryInterface(IID_ID3DXKeyframedAnimationSet,
                                     reinterpret_cast<void**>(&keyframed));
        }
        if (SUCCEEDED(hr)) {
            hr = keyframed->Compress(0, 0.5f, rootFrame, &packed);
        }
        if (SUCCEEDED(hr)) {
            const double ticks = keyframed->GetSourceTicksPerSecond();
            std::vector<D3DXKEY_CALLBACK> keys;
            const auto table = eventMap.find(set->GetName());
            if (table != eventMap.end()) {
                for (std::size_t k = 0; k < table->second.keys.size(); ++k) {
                    keys.push_back(D3DXKEY_CALLBACK{
                        static_cast<float>(table->second.keys[k].time),
                        reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(k + 1))});
                }
            }
            keys.push_back(D3DXKEY_CALLBACK{static_cast<float>(set->GetPeriod() * ticks), nullptr});
            hr = D3DXCreateCompressedAnimationSet(
                set->GetName(), ticks, keyframed->GetPlaybackType(), packed,
                static_cast<UINT>(keys.size()), keys.data(), &rebuilt);
        }
        if (SUCCEEDED(hr)) {
            hr = controller->UnregisterAnimationSet(set);
        }
        if (SUCCEEDED(hr)) {
            hr = controller->RegisterAnimationSet(rebuilt);
        }
        for (IUnknown* done : {static_cast<IUnknown*>(rebuilt), static_cast<IUnknown*>(packed),
                               static_cast<IUnknown*>(keyframed), static_cast<IUnknown*>(set)}) {
            if (done != nullptr) {
                done->Release();
            }
        }
    }
    if (callbackHandler == nullptr) {
        callbackHandler = std::make_unique<AnimationEventHandler>(this);
    }
    return hr;
}
