#pragma once
// Sprite tests: a headless device (the graphics fixture), a null sound device, and containers
// written into sprite\ of the program directory from qvn-kra sources, with their images and
// sounds. Every test must leave no sprite, container, texture or sound behind.

#include <cstdint>
#include <string>
#include <vector>

#include "media/graphics/graphics_fixture.h"
#include "sprite_ui/sprite.h"

namespace sprite_tests {

class SpriteTest : public graphics_tests::GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes sprite/<name>.kra from `source` (qvn-kra's text form). With `checked` false the
    // loader's limits are not applied, so that refused containers can be made.
    void WriteContainer(const std::string& name, const std::string& source, bool checked = true);
    // The bytes of a container written from `source` without the loader's checks.
    std::vector<std::uint8_t> ContainerBytes(const std::string& source);
    // Writes an image file under sprite/.
    void WriteSheet(const std::string& relative, int width, int height,
                    const std::vector<std::uint32_t>& argb);
    // A 16 x 16 sheet: four 8 x 8 quadrants red, green, blue and white, opaque.
    void WriteQuadrantSheet(const std::string& relative);
    // A short 16-bit stereo sound under sound/.
    void WriteSound(const std::string& name);
};

}  // namespace sprite_tests
