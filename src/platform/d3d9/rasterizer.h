#pragma once
// The software rasteriser: screen-space triangles into the render target, exact and
// deterministic. Pixel centres lie on whole coordinates; edges follow the top-left rule; colours
// are Gouraud-shaded and texture coordinates interpolated in fixed point.

#include "platform/d3d9/raster_state.h"
#include "platform/d3d9/triangle_setup.h"

namespace d3d9_internal {

void DrawTriangle(const PipelineState& state, const RasterVertex& v0, const RasterVertex& v1,
                  const RasterVertex& v2, bool reversed);

// A two-triangle strip whose corners form an upright rectangle, drawn row by row as one piece
// when both triangles carry the same attribute planes (so every pixel gets the values its own
// triangle would give). False, having drawn nothing, when the strip is no such rectangle or the
// fast paths are off; the caller then draws the two triangles.
bool DrawUprightQuad(const PipelineState& state, const RasterVertex (&strip)[4]);

// The reference path: one pixel at a time, every state consulted per pixel.
void ShadePixelReference(const PipelineState& state, const TriangleSetup& setup, int x, int y);

// The span routines: whole runs of a row in stages (depth, texels, stage, blend), with SSE2 and
// a straight texel copy where the texture maps one to one. They give the reference path's bytes.
bool SpanPathSupports(const PipelineState& state, const TriangleSetup& setup);
void ShadeSpan(const PipelineState& state, const TriangleSetup& setup, int y, int first, int last);

void SetFastPathsEnabled(bool enabled);
bool FastPathsEnabled();

}  // namespace d3d9_internal
