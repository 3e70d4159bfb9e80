#pragma once
// The texture-filter choices of the other page ("TextureFilterMin", "TextureFilterMag"):
// 0 point, 1 linear, 2..5 anisotropic with a maximum anisotropy of 2, 4, 8 and 16. The choices
// are stored and shown; rendering keeps point sampling, and nothing calls SetTextureFilter.

#include "platform/d3d9/d3d9.h"

constexpr DWORD kTextureFilterChoiceCount = 6;

// 2^n; n above 31 counts as 31.
DWORD PowerOfTwo(DWORD n);
// The sampler filter of a choice: 0 POINT, 1 LINEAR, 2 and above ANISOTROPIC.
D3DTEXTUREFILTERTYPE TextureFilterOfChoice(DWORD choice);
// The maximum anisotropy a choice asks for: 2^(choice - 1) from choice 2 on, else 1.
DWORD AnisotropyOfChoice(DWORD choice);
// True when a device with `caps` can filter by `choice` for minification (or magnification):
// point or linear filtering, or anisotropic filtering reaching the choice's anisotropy.
bool DeviceCanFilter(const D3DCAPS9& caps, DWORD choice, bool magnification);
// Sets the minification and magnification filters of samplers firstStage..lastStage of the
// current device, and the maximum anisotropy the larger choice asks for. Nothing without a
// device.
void SetTextureFilter(DWORD firstStage, DWORD lastStage, DWORD minChoice, DWORD magChoice);
