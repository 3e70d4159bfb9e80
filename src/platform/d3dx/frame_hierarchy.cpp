#include "platform/d3dx/frame_hierarchy.h"

#include <cstring>

#include "platform/d3d9/d3d9_types.h"

HRESULT D3DXFrameDestroy(D3DXFRAME* frameRoot, ID3DXAllocateHierarchy* alloc) {
    if (frameRoot == nullptr || alloc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT result = D3D_OK;
    // Siblings one after another, children by recursion (as deep as the file nests them).
    for (D3DXFRAME* frame = frameRoot; frame != nullptr;) {
        D3DXFRAME* next = frame->pFrameSibling;
        for (D3DXMESHCONTAINER* container = frame->pMeshContainer; container != nullptr;) {
            D3DXMESHCONTAINER* nextContainer = container->pNextMeshContainer;
            const HRESULT hr = alloc->DestroyMeshContainer(container);
            result = FAILED(hr) ? hr : result;
            container = nextContainer;
        }
        frame->pMeshContainer = nullptr;
        if (frame->pFrameFirstChild != nullptr) {
            const HRESULT hr = D3DXFrameDestroy(frame->pFrameFirstChild, alloc);
            result = FAILED(hr) ? hr : result;
            frame->pFrameFirstChild = nullptr;
        }
        const HRESULT hr = alloc->DestroyFrame(frame);
        result = FAILED(hr) ? hr : result;
        frame = next;
    }
    return result;
}

D3DXFRAME* D3DXFrameFind(const D3DXFRAME* frameRoot, LPCSTR name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (const D3DXFRAME* frame = frameRoot; frame != nullptr; frame = frame->pFrameSibling) {
        if (frame->Name != nullptr && std::strcmp(frame->Name, name) == 0) {
            return const_cast<D3DXFRAME*>(frame);
        }
        if (D3DXFRAME* found = D3DXFrameFind(frame->pFrameFirstChild, name)) {
            return found;
        }
    }
    return nullptr;
}
