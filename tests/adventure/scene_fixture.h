#pragma once
// A device with the letterbox of its back buffer, fresh scene state, test pictures, built-in
// calls with literal arguments, and frames run as the adventure frame runs them.

#include <cstdint>
#include <string>
#include <vector>

#include "adventure/script_arguments.h"
#include "media/graphics/graphics_fixture.h"
#include "script/script_value.h"

namespace scene_tests {

inline ScriptValue Int(std::int32_t value) {
    return ScriptValue::MakeLong(value);
}
inline ScriptValue Text(const char* text) {
    return ScriptValue::MakeString(text);
}

class SceneTest : public graphics_tests::GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A width x height device; ScreenWidth, ScreenHeight and the letterbox follow it. Writes
    // the 800 x 600 pictures bmp\visual\stripes.png (bands, a black square at the top left, a
    // white disc in the middle) and sky.png (blue to white, a dark bar), and the 200 x 100
    // patch.png (magenta framed in yellow).
    void StartScene(UINT width, UINT height);
    // Plane updates, the scene timers counted down (zeroed while skipping), the scene drawn.
    void Frame(double seconds);
    bool Call(BuiltinFunction function, std::vector<ScriptValue> arguments);

    // Appends the render target to a contact sheet, `columns` tiles a row.
    void AddTile() { tiles_.push_back(ReadTarget()); }
    void ExpectSheet(const std::string& name, int columns);

private:
    std::vector<std::vector<std::uint32_t>> tiles_;
};

}  // namespace scene_tests
