#pragma once
// D3DObject: a frame hierarchy loaded from an X file with its meshes, a base and a world
// transformation, an animation controller that cross-fades between two tracks, and per
// animation set an event table whose keys play sound effects or reach a callback. Every
// object is kept in the process-wide object list.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "media/graphics/ref_counted.h"
#include "media/mesh/animation_events.h"
#include "platform/d3dx/frame_hierarchy.h"

// flags: bit 0 the world matrix is to be rebuilt, bit 1 time is to be advanced even by 0,
// bit 2 the frame matrices are to be updated.
constexpr DWORD kObjectRebuildWorld = 0x1;
constexpr DWORD kObjectAdvanceAlways = 0x2;
constexpr DWORD kObjectUpdateFrames = 0x4;

// A frame of an object's hierarchy: the library's record, a reference count and the frame's
// combined matrix (its transformation times its parent's combined matrix).
struct D3DFrame : D3DXFRAME {
    ULONG refCount = 1;
    D3DXMATRIX combined;

    ULONG AddRef() { return ++refCount; }
};

// Called for the callback keys that are not sound keys: the object, the animation set's name,
// the key's entry (null for the key that closes a pass) and the callback's user data.
using AnimationEventCallback = void (*)(struct D3DObject* object, const char* setName,
                                        const AnimationEventData* data, void* userData);

struct D3DObject : RefCounted {
    DWORD flags = kObjectAdvanceAlways | kObjectUpdateFrames;
    std::string name;
    std::string path;
    ID3DXAnimationController* controller = nullptr;
    // Seconds.
    double time = 0.0;
    DWORD currentTrack = 0;
    DWORD animationSetCount = 0;
    std::vector<std::string> animationSetNames;
    DWORD trackEnabled[2] = {0, 0};
    DWORD maxBones = 0;
    std::vector<D3DXMATRIX> skinningMatrices;
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 scale{1.0f, 1.0f, 1.0f};
    // Radians about x, y and z.
    D3DXVECTOR3 rotation{0.0f, 0.0f, 0.0f};
    // Animation-set name -> its event table.
    std::map<std::string, AnimationEventTable> eventMap;
    std::unique_ptr<AnimationEventHandler> callbackHandler;
    AnimationEventCallback callback = nullptr;
    void* callbackUserData = nullptr;
    D3DXFRAME* rootFrame = nullptr;
    D3DXMATRIX baseMatrix;
    D3DXMATRIX worldMatrix;

    // Scale (1, 1, 1), identity base and world matrices, flags 6, one reference; appended to
    // the object list.
    D3DObject();
    D3DObject(const D3DObject&) = delete;
    D3DObject& operator=(const D3DObject&) = delete;

    // At 0 the object leaves the list and is destroyed.
    ULONG Release();

    HRESULT Load(const char* file, DWORD options);
    // Cross-fades to animation set `index` over `transition` seconds (0: at once).
    HRESULT SetAnimation(DWORD index, double transition);
    // The set of that name, compared without regard to case.
    HRESULT SetAnimation(const char* setName, double transition);
    void AdvanceTime(double seconds);
    // Draws every mesh container, depth first, skinning them first.
    HRESULT Render(DWORD materialId);
    HRESULT SetAlpha(int alpha);
    // A new object sharing this one's controller, frames and sounds, with its own copies of
    // the rest; null when memory runs out.
    D3DObject* Clone();

    // Each marks the world matrix to be rebuilt.
    void SetPosition(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetRotation(float x, float y, float z);
    void SetCallback(AnimationEventCallback function, void* userData);

private:
    ~D3DObject();
    HRESULT PrepareAnimationSets();
    HRESULT UpdateContainer(D3DXMESHCONTAINER* container, D3DXFRAME* frame);
    HRESULT RenderFrames(D3DXFRAME* frame, DWORD materialId);
};

// The object list, in creation order.
const std::vector<D3DObject*>& ObjectList();

// A new D3DObject loaded from `file`: E_OUTOFMEMORY (*out null) when it cannot be allocated;
// else *out holds it, also when Load fails (the caller releases it).
HRESULT CreateObject(const char* file, D3DObject** out, DWORD options);

// The first object whose name equals `name` without regard to case, or null.
D3DObject* FindObject(const char* name);
void AdvanceAllObjects(double seconds);
HRESULT RenderAllObjects(DWORD materialId);
// Releases the first object until the object list is empty, then the first mesh until the
// mesh list is empty.
void ReleaseAllMeshesAndObjects();
