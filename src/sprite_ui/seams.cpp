#include "sprite_ui/seams.h"

namespace ISprite {
void StepAll(unsigned) {}
void DrawAll(int) {}
}  // namespace ISprite
