// A D3DObject over time: the cross-fade between its two tracks, advancing the controller and
// the matrices, and drawing its mesh containers.

#include "foundation/text.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/device_log.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"

namespace {

constexpr const char* kSetAnimationLog = "D3DObject::SetAnimation";
constexpr const char* kRenderLog = "D3DObject::Render";

// Combined matrices: each frame's transformation times `parent` (its siblings share it).
void CombineFrames(D3DXFRAME* frame, const D3DXMATRIX& parent) {
    for (; frame != nullptr; frame = frame->pFrameSibling) {
        auto* owned = static_cast<D3DFrame*>(frame);
        owned->combined = owned->TransformationMatrix * parent;
        CombineFrames(owned->pFrameFirstChild, owned->combined);
    }
}

}  // namespace

HRESULT D3DObject::SetAnimation(DWORD index, double transition) {
    if (controller == nullptr || index >= animationSetCount) {
        return LogDeviceError(kSetAnimationLog, E_FAIL);
    }
    const DWORD current = currentTrack;
    const DWORD next = current ^ 1;
    ID3DXAnimationSet* set = nullptr;
    HRESULT hr = controller->GetAnimationSet(index, &set);
    if (SUCCEEDED(hr)) {
        hr = controller->SetTrackAnimationSet(next, set);
        set->Release();
    }
    if (SUCCEEDED(hr)) {
        hr = controller->UnkeyAllTrackEvents(current);
    }
    if (SUCCEEDED(hr)) {
        hr = controller->UnkeyAllTrackEvents(next);
    }
    if (FAILED(hr)) {
        return LogDeviceError(kSetAnimationLog, hr);
    }
    if (transition == 0.0) {
        controller->SetTrackEnable(current, FALSE);
    } else {
        controller->KeyTrackEnable(current, FALSE, time + transition);
        controller->KeyTrackSpeed(current, 0.0f, time, transition, D3DXTRANSITION_LINEAR);
        controller->KeyTrackWeight(current, 0.0f, time, transition, D3DXTRANSITION_LINEAR);
    }
    controller->SetTrackEnable(next, TRUE);
    controller->SetTrackPosition(next, 0.0);
    controller->KeyTrackSpeed(next, 1.0f, time, transition, D3DXTRANSITION_LINEAR);
    controller->KeyTrackWeight(next, 1.0f, time, transition, D3DXTRANSITION_LINEAR);
    trackEnabled[current] = 0;
    trackEnabled[next] = 1;
    flags |= kObjectAdvanceAlways;
    currentTrack = next;
    return D3D_OK;
}

HRESULT D3DObject::SetAnimation(const char* setName, double transition) {
    for (DWORD i = 0; setName != nullptr && i < animationSetNames.size(); ++i) {
        if (CompareNoCase(animationSetNames[i].c_str(), setName) == 0) {
            return SetAnimation(i, transition);
        }
    }
    return LogDeviceError(kSetAnimationLog, E_FAIL);
}

void D3DObject::AdvanceTime(double seconds) {
    if (controller != nullptr && (seconds > 0.0 || (flags & kObjectAdvanceAlways) != 0)) {
        time += seconds;
        controller->AdvanceTime(seconds, callbackHandler.get());
        flags &= ~kObjectAdvanceAlways;
        flags |= kObjectUpdateFrames;
    }
    if ((flags & kObjectRebuildWorld) != 0) {
        D3DXMATRIX s;
        D3DXMATRIX rx;
        D3DXMATRIX ry;
        D3DXMATRIX rz;
        D3DXMATRIX t;
        D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
        D3DXMatrixRotationY(&ry, rotation.y);
        D3DXMatrixRotationX(&rx, rotation.x);
        D3DXMatrixRotationZ(&rz, rotation.z);
        D3DXMatrixTranslation(&t, position.x, position.y, position.z);
        worldMatrix = baseMatrix * s * ry * rx * rz * t;
        flags &= ~kObjectRebuildWorld;
        flags |= kObjectUpdateFrames;
    }
    if ((flags & kObjectUpdateFrames) != 0) {
        CombineFrames(rootFrame, worldMatrix);
        flags &= ~kObjectUpdateFrames;
    }
}

HRESULT D3DObject::UpdateContainer(D3DXMESHCONTAINER* container, D3DXFRAME* frame) {
    auto* mesh = static_cast<D3DMesh*>(container);
    if (D3DApp == nullptr) {
        return E_FAIL;
    }
    if (mesh->pSkinInfo == nullptr) {
        return D3DApp->SetTransform(D3DTS_WORLD, &static_cast<D3DFrame*>(frame)->combined);
    }
    const std::size_t bones = mesh->boneMatrices.size();
    if (skinningMatrices.size() < bones || mesh->sourceMesh == nullptr ||
        mesh->MeshData.pMesh == nullptr) {
        return E_FAIL;
    }
    for (std::size_t b = 0; b < bones; ++b) {
        if (mesh->boneMatrices[b] == nullptr) {
            return E_FAIL;
        }
        skinningMatrices[b] = mesh->boneOffsets[b] * *mesh->boneMatrices[b];
    }
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    HRESULT hr = D3DApp->SetTransform(D3DTS_WORLD, &identity);
    if (FAILED(hr)) {
        return hr;
    }
    void* source = nullptr;
    void* dest = nullptr;
    if (FAILED(hr = mesh->sourceMesh->LockVertexBuffer(D3DLOCK_READONLY, &source))) {
        return hr;
    }
    if (SUCCEEDED(hr = mesh->MeshData.pMesh->LockVertexBuffer(0, &dest))) {
        hr = mesh->pSkinInfo->UpdateSkinnedMesh(skinningMatrices.data(), nullptr, source, dest);
        mesh->MeshData.pMesh->UnlockVertexBuffer();
    }
    mesh->sourceMesh->UnlockVertexBuffer();
    return hr;
}

HRESULT D3DObject::RenderFrames(D3DXFRAME* frame, DWORD materialId) {
    for (; frame != nullptr; frame = frame->pFrameSibling) {
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c != nullptr;
             c = c->pNextMeshContainer) {
            HRESULT hr = UpdateContainer(c, frame);
            if (FAILED(hr)) {
                return LogDeviceError(kRenderLog, hr);
            }
            if (FAILED(hr = static_cast<D3DMesh*>(c)->Draw(materialId))) {
                return hr;
            }
        }
        if (const HRESULT hr = RenderFrames(frame->pFrameFirstChild, materialId); FAILED(hr)) {
            return hr;
        }
    }
    return D3D_OK;
}

HRESULT D3DObject::Render(DWORD materialId) {
    return RenderFrames(rootFrame, materialId);
}

HRESULT D3DObject::SetAlpha(int alpha) {
    HRESULT result = D3D_OK;
    std::vector<D3DXFRAME*> pending{rootFrame};
    while (!pending.empty()) {
        D3DXFRAME* frame = pending.back();
        pending.pop_back();
        for (; frame != nullptr; frame = frame->pFrameSibling) {
            for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c != nullptr;
                 c = c->pNextMeshContainer) {
                if (FAILED(static_cast<D3DMesh*>(c)->SetAlpha(alpha))) {
                    result = E_FAIL;
                }
            }
            pending.push_back(frame->pFrameFirstChild);
        }
    }
    return result;
}
