#include <cstddef>
#include <cstdint>

#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    D3DXIMAGE_INFO info{};
    const HRESULT infoResult =
        D3DXGetImageInfoFromFileInMemory(data, static_cast<UINT>(size), &info);
    d3dx::DecodedImage image;
    const HRESULT decodeResult = d3dx::DecodeImage(data, size, &image);
    if (SUCCEEDED(decodeResult)) {
        // A decodable file always has a readable header describing the decoded pixels.
        if (FAILED(infoResult) || info.Width != image.header.width ||
            info.Height != image.header.height ||
            image.pixels.size() != static_cast<std::size_t>(info.Width) * info.Height) {
            __builtin_trap();
        }
    }
    return 0;
}
