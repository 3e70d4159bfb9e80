#pragma once
// FrameTextures: the five images from which a MenuWindow frame is drawn. One default set is
// loaded at start-up and copied into every new window; a window may load its own set.

#include <array>

struct D3DTexture;

// 0 background (tiled), 1 side borders (left half left, right half right), 2 top and bottom
// borders (upper half top, lower half bottom), 3 corners, 4 scroll-bar pieces (quadrants: upper
// left thumb caps, upper right thumb body, lower left down button, lower right up button).
constexpr int kFrameTextureCount = 5;
using FrameTextures = std::array<D3DTexture*, kFrameTextureCount>;

enum FrameTexture : int {
    kFrameBackground = 0,
    kFrameSides = 1,
    kFrameTopBottom = 2,
    kFrameCorners = 3,
    kFrameScrollBar = 4,
};

// For i = 0..4: releases slot i, then loads the file named by inserting the digit i before the
// extension of `path` ("bmp\frame.png" gives "bmp\frame0.png" ...) when it exists, as a shared
// texture; a missing or unreadable file leaves the slot empty. Null `path` only releases.
void LoadFrameTextureSet(FrameTextures& set, const char* path);
void ReleaseFrameTextureSet(FrameTextures& set);

// The default set.
void LoadFrameTextures(const char* path);
void ReleaseDefaultFrameTextures();
const FrameTextures& DefaultFrameTextures();
