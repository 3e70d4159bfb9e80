#pragma once
// Making an animation controller.

#include "platform/d3dx/animation.h"

namespace d3dx {

// A controller with `tracks` tracks (at least 1), no sets and no outputs. Each track starts
// empty, enabled, with weight 1, speed 1 and position 0.
HRESULT CreateAnimationController(UINT tracks, ID3DXAnimationController** controller);

}  // namespace d3dx
