#pragma once
// The graphics fixture with the mesh layer: fixture models copied into the program directory,
// the 3-D states and camera of a cell of a contact sheet, a null sound device with the event
// sounds, and the check that every mesh and object is released.

#include <string>

#include "../graphics/graphics_fixture.h"
#include "media/mesh/mesh.h"
#include "media/mesh/object.h"
#include "platform/d3dx/matrix.h"

namespace mesh_tests {

class MeshTest : public graphics_tests::GraphicsTest {
protected:
    void TearDown() override;

    // Copies tests/fixtures/mesh/<name> to data\<name>; answers its Windows path.
    std::string CopyFixture(const std::string& name);
    // Writes `body` (after an X header) to data\<name>; answers its Windows path.
    std::string WriteModel(const std::string& name, const std::string& body);

    // Depth buffer on, back faces culled, linear filtering, texture times diffuse (colour and
    // alpha), alpha blending, and `lighting` with one white directional light and a dim ambient.
    void Set3DStates(bool lighting);
    // Makes the viewport the cell (column, row) of `size` pixels and clears it and its depth.
    void BeginCell(int column, int row, int width, int height, D3DCOLOR background);
    // View from `eye` to the origin, and a 45-degree projection for the viewport's shape.
    void SetCamera(float eyeX, float eyeY, float eyeZ);

    // A hidden window and a null sound device, and sound\se001..se003 (one second each).
    void StartSound();

private:
    HWND window_ = nullptr;
};

}  // namespace mesh_tests
