#include "media/mesh/object.h"

#include <algorithm>
#include <new>

#include "foundation/text.h"
#include "media/graphics/d3d_functions.h"
#include "media/mesh/allocate_hierarchy.h"
#include "media/mesh/mesh.h"

namespace {

std::vector<D3DObject*>& MutableObjectList() {
    static std::vector<D3DObject*> list;
    return list;
}

}  // namespace

const std::vector<D3DObject*>& ObjectList() {
    return MutableObjectList();
}

D3DObject::D3DObject() {
    D3DXMatrixIdentity(&baseMatrix);
    D3DXMatrixIdentity(&worldMatrix);
    MutableObjectList().push_back(this);
}

D3DObject::~D3DObject() {
    if (controller != nullptr) {
        controller->Release();
    }
    // A hierarchy shared with a clone stays whole until its last object lets it go.
    auto* root = static_cast<D3DFrame*>(rootFrame);
    if (root != nullptr && root->refCount > 1) {
        --root->refCount;
    } else if (root != nullptr) {
        AllocateHierarchy allocator(this);
        D3DXFrameDestroy(rootFrame, &allocator);
    }
    auto& list = MutableObjectList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

ULONG D3DObject::Release() {
    const ULONG count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

void D3DObject::SetPosition(float x, float y, float z) {
    position = {x, y, z};
    flags |= kObjectRebuildWorld;
}

void D3DObject::SetScale(float x, float y, float z) {
    scale = {x, y, z};
    flags |= kObjectRebuildWorld;
}

void D3DObject::SetRotation(float x, float y, float z) {
    rotation = {x, y, z};
    flags |= kObjectRebuildWorld;
}

void D3DObject::SetCallback(AnimationEventCallback function, void* userData) {
    callback = function;
    callbackUserData = userData;
}

D3DObject* D3DObject::Clone() {
    auto* copy = new (std::nothrow) D3DObject();
    if (copy == nullptr) {
        return nullptr;
    }
    copy->flags = flags;
    copy->name = name;
    copy->path = path;
    copy->controller = controller;
    if (controller != nullptr) {
        controller->AddRef();
    }
    copy->rootFrame = rootFrame;
    if (rootFrame != nullptr) {
        static_cast<D3DFrame*>(rootFrame)->AddRef();
    }
    copy->time = time;
    copy->currentTrack = currentTrack;
    copy->animationSetCount = animationSetCount;
    copy->animationSetNames = animationSetNames;
    copy->trackEnabled[0] = trackEnabled[0];
    copy->trackEnabled[1] = trackEnabled[1];
    copy->maxBones = maxBones;
    copy->skinningMatrices = skinningMatrices;
    copy->position = position;
    copy->scale = scale;
    copy->rotation = rotation;
    copy->eventMap = eventMap;
    if (callbackHandler != nullptr) {
        copy->callbackHandler = std::make_unique<AnimationEventHandler>(copy);
    }
    copy->callback = callback;
    copy->callbackUserData = callbackUserData;
    copy->baseMatrix = baseMatrix;
    copy->worldMatrix = worldMatrix;
    return copy;
}

HRESULT CreateObject(const char* file, D3DObject** out, DWORD options) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = new (std::nothrow) D3DObject();
    if (*out == nullptr) {
        return E_OUTOFMEMORY;
    }
    return (*out)->Load(file, options);
}

D3DObject* FindObject(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (D3DObject* object : ObjectList()) {
        if (!object->name.empty() && CompareNoCase(object->name.c_str(), name) == 0) {
            return object;
        }
    }
    return nullptr;
}

void AdvanceAllObjects(double seconds) {
    for (D3DObject* object : ObjectList()) {
        object->AdvanceTime(seconds);
    }
}

HRESULT RenderAllObjects(DWORD materialId) {
    HRESULT first = D3D_OK;
    for (D3DObject* object : ObjectList()) {
        const HRESULT hr = object->Render(materialId);
        first = SUCCEEDED(first) ? hr : first;
    }
    return first;
}

void ReleaseAllMeshesAndObjects() {
    while (!ObjectList().empty()) {
        ObjectList().front()->Release();
    }
    while (!MeshList().empty()) {
        MeshList().front()->Release();
    }
}
