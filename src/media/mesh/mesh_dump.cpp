#include "media/mesh/mesh_dump.h"

#include <string>

#include "foundation/log.h"
#include "media/graphics/d3d_dump.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"

namespace {

const char* MeshTypeName(DWORD type) {
    switch (type) {
        case D3DXMESHTYPE_MESH:
            return "Mesh";
        case D3DXMESHTYPE_PMESH:
            return "PMesh";
        case D3DXMESHTYPE_PATCHMESH:
            return "Patch";
        default:
            return "Unknown";
    }
}

void WriteMeshes() {
    const auto& meshes = MeshList();
    LogPrintf("\nMesh Count: %d", static_cast<int>(meshes.size()));
    if (meshes.empty()) {
        return;
    }
    LogPrintf("Ptr        Ref   Type       Faces   Vertices   Material   Option       Name");
    LogPrintf("%s", std::string(91, '-').c_str());
    for (const D3DMesh* mesh : meshes) {
        ID3DXMesh* data = mesh->MeshData.pMesh;
        LogPrintf("%08x   %3d   %-5s   %8d   %8d   %8d   0x%08x   %s", DumpAddress(mesh),
                  static_cast<int>(mesh->refCount), MeshTypeName(mesh->MeshData.Type),
                  data != nullptr ? static_cast<int>(data->GetNumFaces()) : 0,
                  data != nullptr ? static_cast<int>(data->GetNumVertices()) : 0,
                  static_cast<int>(mesh->NumMaterials),
                  data != nullptr ? static_cast<unsigned>(data->GetOptions()) : 0u,
                  mesh->Name != nullptr ? mesh->Name : "(no name)");
    }
}

// One line per frame, children below their parent, the prefix growing by "| " or "  ".
void WriteFrames(const D3DXFRAME* frame, std::string* prefix) {
    for (; frame != nullptr; frame = frame->pFrameSibling) {
        LogPrintf("%s|-%s", prefix->c_str(), frame->Name != nullptr ? frame->Name : "(no name)");
        prefix->append(frame->pFrameSibling != nullptr ? "| " : "  ");
        WriteFrames(frame->pFrameFirstChild, prefix);
        prefix->resize(prefix->size() - 2);
    }
}

void WriteObjects(bool frames) {
    const auto& objects = ObjectList();
    LogPrintf("\nFrame Count: %d", static_cast<int>(objects.size()));
    if (objects.empty()) {
        return;
    }
    LogPrintf("Ptr        Ref   Name                         AnimCtrl");
    LogPrintf("%s", std::string(91, '-').c_str());
    for (const D3DObject* object : objects) {
        const char* name = object->name.empty() ? "(no name)" : object->name.c_str();
        if (object->controller != nullptr) {
            LogPrintf("%08x   %3d   %-26s   %8d", DumpAddress(object),
                      static_cast<int>(object->refCount), name,
                      static_cast<int>(object->controller->GetNumAnimationSets()));
        } else {
            LogPrintf("%08x   %3d   %-26s   ", DumpAddress(object),
                      static_cast<int>(object->refCount), name);
        }
        if (frames) {
            std::string prefix(17, ' ');
            WriteFrames(object->rootFrame, &prefix);
        }
    }
}

}  // namespace

void D3DDumpMeshes(DWORD mask) {
    if ((mask & 0x10) != 0) {
        WriteMeshes();
    }
    if ((mask & 0x60) != 0) {
        WriteObjects((mask & 0x40) != 0);
    }
}
