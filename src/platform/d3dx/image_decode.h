#pragma once
// Image files in memory, recognised by their content: PNG (every colour type, bit depth and
// interlacing) and baseline or progressive JPEG. Decoding always yields A8R8G8B8 pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/winbase/win_types.h"

namespace d3dx {

enum class ImageFileKind { kPng, kJpeg };

// Images larger than this on either side are refused before any pixel memory is taken.
constexpr UINT kMaxImageDimension = 16384;

struct ImageHeader {
    UINT width = 0;
    UINT height = 0;
    bool hasAlpha = false;  // an alpha channel or a transparency chunk
    ImageFileKind kind = ImageFileKind::kPng;
};

struct DecodedImage {
    ImageHeader header;
    std::vector<std::uint32_t> pixels;  // width * height A8R8G8B8 values, rows top down
};

// D3DXERR_INVALIDDATA for anything that is not a well-formed image of a known kind (also for
// sizes of 0 or above kMaxImageDimension); E_OUTOFMEMORY when pixel memory cannot be had.
HRESULT ReadImageHeader(const void* data, std::size_t size, ImageHeader* header);
HRESULT DecodeImage(const void* data, std::size_t size, DecodedImage* image);

// The per-kind decoders behind DecodeImage.
HRESULT ReadPngHeader(const std::uint8_t* data, std::size_t size, ImageHeader* header);
HRESULT DecodePng(const std::uint8_t* data, std::size_t size, DecodedImage* image);
HRESULT ReadJpegHeader(const std::uint8_t* data, std::size_t size, ImageHeader* header);
HRESULT DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage* image);

// Allocates width * height pixels, or answers E_OUTOFMEMORY.
HRESULT AllocatePixels(DecodedImage* image);

}  // namespace d3dx
