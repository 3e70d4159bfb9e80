#pragma once
// The scene as the adventure frame and the message window see it: drawing the scene, releasing
// every scene object, and the FADE plane, whose cross-fade holds the pointer shape.

#include <cstdint>

struct D3DPlane;

// The FADE plane: a snapshot of the screen for cross-fades and the quake; null while none.
extern D3DPlane* FadePlane;

// The FADE plane's remaining cross-fade time in milliseconds; 0 when it is not cross-fading or
// does not exist.
std::uint32_t FadeRemainingMs();

// Draws the scene to the back buffer (toScreen 1) or into the FADE plane (0).
void RenderAdventureScene(int toScreen);
// Releases the standing characters, the message window's layers, texture and fonts, the face,
// FADE, the saved picture, BASE and the mascot.
void ReleaseScene();
