#pragma once
// A deterministic PNG writer for A8R8G8B8 pixels: 8-bit RGBA, fixed zlib level and filters, no
// time or text chunks, so that the same pixels always give the same bytes.

#include <cstdint>
#include <vector>

namespace d3dx {

// `argb` holds `height` rows of `width` pixels, row starts `pitchPixels` pixels apart. Returns
// the file bytes, or an empty vector when the size is not positive or the encoder fails.
std::vector<std::uint8_t> EncodeArgbAsPng(int width, int height, const std::uint32_t* argb,
                                          int pitchPixels);

}  // namespace d3dx
