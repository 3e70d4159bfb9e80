#pragma once
// AnimationSet data objects of an X file read into the keys of animation sets.

#include <functional>
#include <string>

#include "platform/d3dx/animation_set.h"

namespace d3dx {

class XDocument;
struct XData;

// The initial matrix of the frame named `name`, or null when the file has no such frame.
using FrameMatrixLookup = std::function<const D3DXMATRIX*(const std::string& name)>;

// Reads an AnimationSet object: per Animation, the frame it names and its keys (rotation
// keys w, x, y, z; matrix keys split into scale, rotation and translation). A part the keys
// leave out takes its value from the frame's matrix. False with `error` when malformed.
bool ReadAnimationSet(const XDocument& document, const XData& set, double ticksPerSecond,
                      const FrameMatrixLookup& frameMatrix, AnimationSetData* data,
                      std::string* error);

}  // namespace d3dx
