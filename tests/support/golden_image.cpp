#include "support/golden_image.h"

#include "platform/d3dx/png_encode.h"
#include "support/golden.h"

namespace qvn::test {

std::string CompareImageWithGolden(const std::string& name, int width, int height,
                                   const std::uint32_t* argb, int pitchPixels) {
    const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(width, height, argb, pitchPixels);
    if (png.empty()) {
        return "cannot encode " + name + " as PNG";
    }
    return CompareWithGolden(name + ".png", png);
}

}  // namespace qvn::test
