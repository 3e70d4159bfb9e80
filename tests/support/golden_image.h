#pragma once

#include <cstdint>
#include <string>

namespace qvn::test {

// Encodes an A8R8G8B8 image as PNG (deterministically) and compares it byte for byte with
// tests/fixtures/golden/<name>.png; with --update-golden rewrites that file. Returns an empty
// string on a match, else a description of the difference.
std::string CompareImageWithGolden(const std::string& name, int width, int height,
                                   const std::uint32_t* argb, int pitchPixels);

}  // namespace qvn::test
