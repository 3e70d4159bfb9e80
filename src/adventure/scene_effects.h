#pragma once
// Pieces of the scene that its files share: the end of a cross-fade and the letterbox bars.

struct D3DPlane;

// Ends `plane`'s cross-fade: no callback, no remaining time, one hold of the script less.
void EndSceneFade(D3DPlane* plane);
// Draws the letterbox-bar effect into the current render target while EffectTimer is not 0 or
// EffectReverse is set: black bars in the letterbox margins whose width and alpha follow the
// effect's time. Nothing without a margin.
void DrawLetterboxBars();
