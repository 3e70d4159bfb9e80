#include "platform/d3d9/pixel_format.h"

#include <cstring>

namespace d3d9_internal {
namespace {

std::uint32_t Widen(std::uint32_t value, int bits) {
    switch (bits) {
        case 1:
            return value ? 255u : 0u;
        case 4:
            return value * 17u;
        case 5:
            return (value << 3) | (value >> 2);
        case 6:
            return (value << 2) | (value >> 4);
        default:
            return value;
    }
}

std::uint32_t Narrow(std::uint32_t value, int bits) {
    if (bits == 1) {
        return value >= 128 ? 1u : 0u;
    }
    const std::uint32_t max = (1u << bits) - 1u;
    return (value * max + 127u) / 255u;
}

std::uint16_t Read16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void Write16(std::uint8_t* p, std::uint16_t v) {
    std::memcpy(p, &v, 2);
}

}  // namespace

bool IsColorFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4:
            return true;
        default:
            return false;
    }
}

bool IsDepthFormat(D3DFORMAT format) {
    return format == D3DFMT_D16 || format == D3DFMT_D24X8 || format == D3DFMT_D24S8 ||
           format == D3DFMT_D32;
}

int BytesPerPixel(D3DFORMAT format) {
    if (IsDepthFormat(format)) {
        return 4;
    }
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            return 4;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4:
            return 2;
        default:
            return 0;
    }
}

int DepthBits(D3DFORMAT format) {
    return format == D3DFMT_D16 ? 16 : 24;
}

std::uint32_t PixelToArgb(D3DFORMAT format, const std::uint8_t* pixel) {
    switch (format) {
        case D3DFMT_A8R8G8B8: {
            std::uint32_t v;
            std::memcpy(&v, pixel, 4);
            return v;
        }
        case D3DFMT_X8R8G8B8: {
            std::uint32_t v;
            std::memcpy(&v, pixel, 4);
            return v | 0xFF000000u;
        }
        case D3DFMT_R5G6B5: {
            const std::uint32_t v = Read16(pixel);
            return 0xFF000000u | (Widen(v >> 11, 5) << 16) | (Widen((v >> 5) & 63, 6) << 8) |
                   Widen(v & 31, 5);
        }
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: {
            const std::uint32_t v = Read16(pixel);
            const std::uint32_t a = format == D3DFMT_A1R5G5B5 ? Widen(v >> 15, 1) : 255u;
            return (a << 24) | (Widen((v >> 10) & 31, 5) << 16) | (Widen((v >> 5) & 31, 5) << 8) |
                   Widen(v & 31, 5);
        }
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4: {
            const std::uint32_t v = Read16(pixel);
            const std::uint32_t a = format == D3DFMT_A4R4G4B4 ? Widen(v >> 12, 4) : 255u;
            return (a << 24) | (Widen((v >> 8) & 15, 4) << 16) | (Widen((v >> 4) & 15, 4) << 8) |
                   Widen(v & 15, 4);
        }
        default:
            return 0;
    }
}

void PixelFromArgb(D3DFORMAT format, std::uint32_t argb, std::uint8_t* pixel) {
    const std::uint32_t a = argb >> 24;
    const std::uint32_t r = (argb >> 16) & 0xFF;
    const std::uint32_t g = (argb >> 8) & 0xFF;
    const std::uint32_t b = argb & 0xFF;
    switch (format) {
        case D3DFMT_A8R8G8B8:
            std::memcpy(pixel, &argb, 4);
            break;
        case D3DFMT_X8R8G8B8: {
            const std::uint32_t v = argb | 0xFF000000u;
            std::memcpy(pixel, &v, 4);
            break;
        }
        case D3DFMT_R5G6B5:
            Write16(pixel, static_cast<std::uint16_t>((Narrow(r, 5) << 11) | (Narrow(g, 6) << 5) |
                                                      Narrow(b, 5)));
            break;
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: {
            const std::uint32_t top = format == D3DFMT_A1R5G5B5 ? Narrow(a, 1) : 1u;
            Write16(pixel, static_cast<std::uint16_t>((top << 15) | (Narrow(r, 5) << 10) |
                                                      (Narrow(g, 5) << 5) | Narrow(b, 5)));
            break;
        }
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4: {
            const std::uint32_t top = format == D3DFMT_A4R4G4B4 ? Narrow(a, 4) : 15u;
            Write16(pixel, static_cast<std::uint16_t>((top << 12) | (Narrow(r, 4) << 8) |
                                                      (Narrow(g, 4) << 4) | Narrow(b, 4)));
            break;
        }
        default:
            break;
    }
}

}  // namespace d3d9_internal
