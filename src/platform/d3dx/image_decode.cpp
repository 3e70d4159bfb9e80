#include "platform/d3dx/image_decode.h"

#include <cstring>
#include <new>

#include "platform/d3dx/d3dx_errors.h"

namespace d3dx {
namespace {

bool LooksLikePng(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof(kSignature) && std::memcmp(data, kSignature, sizeof(kSignature)) == 0;
}

bool LooksLikeJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

}  // namespace

HRESULT ReadImageHeader(const void* data, std::size_t size, ImageHeader* header) {
    if (data == nullptr || header == nullptr) {
        return D3DXERR_INVALIDDATA;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (LooksLikePng(bytes, size)) {
        return ReadPngHeader(bytes, size, header);
    }
    if (LooksLikeJpeg(bytes, size)) {
        return ReadJpegHeader(bytes, size, header);
    }
    return D3DXERR_INVALIDDATA;
}

HRESULT DecodeImage(const void* data, std::size_t size, DecodedImage* image) {
    if (data == nullptr || image == nullptr) {
        return D3DXERR_INVALIDDATA;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (LooksLikePng(bytes, size)) {
        return DecodePng(bytes, size, image);
    }
    if (LooksLikeJpeg(bytes, size)) {
        return DecodeJpeg(bytes, size, image);
    }
    return D3DXERR_INVALIDDATA;
}

HRESULT AllocatePixels(DecodedImage* image) {
    const std::size_t count = static_cast<std::size_t>(image->header.width) *
                              static_cast<std::size_t>(image->header.height);
    try {
        image->pixels.assign(count, 0u);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace d3dx
