#pragma once
// Making keyframed animation sets from their keys.

#include <string>
#include <vector>

#include "platform/d3dx/animation.h"

namespace d3dx {

// The keys of one animated frame, each list in time order (ticks).
struct AnimationKeys {
    std::string name;
    std::vector<D3DXKEY_VECTOR3> scale;
    std::vector<D3DXKEY_QUATERNION> rotation;
    std::vector<D3DXKEY_VECTOR3> translation;
};

struct AnimationSetData {
    std::string name;
    double ticksPerSecond = 4800.0;
    D3DXPLAYBACK_TYPE playback = D3DXPLAY_LOOP;
    std::vector<AnimationKeys> animations;
    std::vector<D3DXKEY_CALLBACK> callbacks;
};

// Sorts every key list by time (keeping the order of equal times).
void SortKeys(AnimationSetData* data);

// A set of `data`; D3DERR_INVALIDCALL when the ticks per second are not above 0.
HRESULT CreateKeyframedAnimationSet(AnimationSetData data, ID3DXKeyframedAnimationSet** set);

}  // namespace d3dx
