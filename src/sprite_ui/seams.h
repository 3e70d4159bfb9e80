#pragma once
// Entry points of the sprite layer that the shell calls. Until that layer exists there are no
// sprites: each call does nothing and answers as an empty layer would.

namespace ISprite {
// Steps every sprite by `milliseconds` (0: only the drawn marks are cleared).
void StepAll(unsigned milliseconds);
// Draws every visible sprite not yet drawn this frame.
void DrawAll(int flags);
}  // namespace ISprite
