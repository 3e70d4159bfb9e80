#pragma once
// Loading meshes and frame hierarchies from X files held in memory (text or binary, not
// compressed). A malformed file is refused with D3DXERR_INVALIDDATA and nothing is kept;
// d3dx::LastXFileError then tells what was wrong.

#include "platform/d3dx/frame_hierarchy.h"

// Every mesh of the file in one: the meshes inside frames moved by their frames' matrices, the
// materials of all of them in file order. Out: the adjacency (3 DWORDs per face), the materials
// (D3DXMATERIAL entries whose texture names lie in the same buffer), the effect instances
// (empty ones, one per material), the material count and the mesh; any out pointer but the
// mesh may be null. A mesh without a material list gets one white material.
// D3DXERR_LOADEDMESHHASNODATA when the file holds no mesh.
HRESULT D3DXLoadMeshFromXInMemory(LPCVOID memory, DWORD size, DWORD options,
                                  IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                                  ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                                  DWORD* numMaterials, ID3DXMesh** mesh);

// The file's frames as a hierarchy made through `alloc` (top-level frames as siblings of the
// first; a top-level mesh gets an unnamed frame of its own), each mesh as a container of its
// frame, with skin information when it has skin weights. Data objects the loader does not read
// go to `userDataLoader` (when given) in file order. With animation sets, the controller (two
// tracks, the sets in file order, the first on track 0; frames animate through their
// TransformationMatrix); without, *animationController is null. Ticks per second come from
// AnimTicksPerSecond, else 4800. On failure everything made so far is destroyed.
HRESULT D3DXLoadMeshHierarchyFromXInMemory(LPCVOID memory, DWORD size, DWORD options,
                                           IDirect3DDevice9* device, ID3DXAllocateHierarchy* alloc,
                                           ID3DXLoadUserData* userDataLoader,
                                           D3DXFRAME** frameHierarchy,
                                           ID3DXAnimationController** animationController);

namespace d3dx {

// What was wrong with the last file a load on this thread refused ("" after a success).
const char* LastXFileError();

}  // namespace d3dx
