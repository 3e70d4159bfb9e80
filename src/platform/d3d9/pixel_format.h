#pragma once
// Pixel formats that our surfaces store, and the conversion of rows to and from A8R8G8B8.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"

namespace d3d9_internal {

// Colour formats a surface can hold: A8R8G8B8, X8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4,
// X4R4G4B4.
bool IsColorFormat(D3DFORMAT format);
// Depth formats a depth surface can hold: D16, D24X8, D24S8, D32.
bool IsDepthFormat(D3DFORMAT format);
// Bytes per pixel in memory (depth surfaces keep one 32-bit value per pixel); 0 when unknown.
int BytesPerPixel(D3DFORMAT format);
// Significant bits of a depth value: 16 for D16, 24 for the others.
int DepthBits(D3DFORMAT format);

// One pixel. Formats without alpha read as opaque; 16-bit channels widen by bit replication and
// narrow with rounding to nearest; the unused bits of X formats are written set.
std::uint32_t PixelToArgb(D3DFORMAT format, const std::uint8_t* pixel);
void PixelFromArgb(D3DFORMAT format, std::uint32_t argb, std::uint8_t* pixel);

// `count` pixels of a row (pixel_rows.cpp), each with the bytes of the single-pixel functions.
// Rows of 32-bit pixels are 4-byte aligned, rows of 16-bit ones 2-byte aligned.
void RowToArgb(D3DFORMAT format, const void* source, std::uint32_t* dest, int count);
void RowFromArgb(D3DFORMAT format, const std::uint32_t* source, void* dest, int count);
// Writes only the pixels whose mask byte is not 0; the others keep their stored bytes.
void RowFromArgbMasked(D3DFORMAT format, const std::uint32_t* source, void* dest,
                       const std::uint8_t* mask, int count);
// Blends source into a row of a 16-bit format with the factors (added), to the bytes of the row
// read as A8R8G8B8, blended as such and written back; only where the mask byte is not 0 (mask
// null: every pixel). False, with nothing done, for a 32-bit format or a pair of factors without
// a kernel of its own.
bool RowBlend(D3DFORMAT format, DWORD srcBlend, DWORD destBlend, const std::uint32_t* source,
              void* dest, const std::uint8_t* mask, int count);
// `count` pixels of `argb` as the format stores it.
void FillRow(D3DFORMAT format, std::uint32_t argb, void* dest, int count);

}  // namespace d3d9_internal
