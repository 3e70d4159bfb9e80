#include "media/graphics/format_names.h"

namespace {

struct FormatName {
    D3DFORMAT format;
    const char* name;
    UINT bits;
};

constexpr FormatName kFormats[] = {
    {D3DFMT_R8G8B8, "R8G8B8", 24},
    {D3DFMT_A8R8G8B8, "A8R8G8B8", 32},
    {D3DFMT_X8R8G8B8, "X8R8G8B8", 32},
    {D3DFMT_R5G6B5, "R5G6B5", 16},
    {D3DFMT_X1R5G5B5, "X1R5G5B5", 16},
    {D3DFMT_A1R5G5B5, "A1R5G5B5", 16},
    {D3DFMT_A4R4G4B4, "A4R4G4B4", 16},
    {D3DFMT_R3G3B2, "R3G3B2", 8},
    {D3DFMT_A8, "A8", 8},
    {D3DFMT_A8R3G3B2, "A8R3G3B2", 16},
    {D3DFMT_X4R4G4B4, "X4R4G4B4", 16},
    {D3DFMT_A2B10G10R10, "A2B10G10R10", 32},
    {D3DFMT_A8B8G8R8, "A8B8G8R8", 32},
    {D3DFMT_X8B8G8R8, "X8B8G8R8", 32},
    {D3DFMT_G16R16, "G16R16", 32},
    {D3DFMT_A2R10G10B10, "A2R10G10B10", 32},
    {D3DFMT_A16B16G16R16, "A16B16G16R16", 64},
    {D3DFMT_A8P8, "A8P8", 16},
    {D3DFMT_P8, "P8", 8},
    {D3DFMT_L8, "L8", 8},
    {D3DFMT_A8L8, "A8L8", 16},
    {D3DFMT_A4L4, "A4L4", 8},
    {D3DFMT_V8U8, "V8U8", 16},
    {D3DFMT_L6V5U5, "L6V5U5", 16},
    {D3DFMT_X8L8V8U8, "X8L8V8U8", 32},
    {D3DFMT_Q8W8V8U8, "Q8W8V8U8", 32},
    {D3DFMT_V16U16, "V16U16", 32},
    {D3DFMT_A2W10V10U10, "A2W10V10U10", 32},
    {D3DFMT_UYVY, "UYVY", 0},
    {D3DFMT_R8G8_B8G8, "R8G8_B8G8", 32},
    {D3DFMT_YUY2, "YUY2", 0},
    {D3DFMT_G8R8_G8B8, "G8R8_G8B8", 32},
    {D3DFMT_DXT1, "DXT1", 0},
    {D3DFMT_DXT2, "DXT2", 0},
    {D3DFMT_DXT3, "DXT3", 0},
    {D3DFMT_DXT4, "DXT4", 0},
    {D3DFMT_DXT5, "DXT5", 0},
    {D3DFMT_D16_LOCKABLE, "D16_LOCKABLE", 16},
    {D3DFMT_D32, "D32", 32},
    {D3DFMT_D15S1, "D15S1", 16},
    {D3DFMT_D24S8, "D24S8", 32},
    {D3DFMT_D24X8, "D24X8", 32},
    {D3DFMT_D24X4S4, "D24X4S4", 32},
    {D3DFMT_D16, "D16", 16},
    {D3DFMT_D32F_LOCKABLE, "D32F_LOCKABLE", 32},
    {D3DFMT_D24FS8, "D24FS8", 32},
    {D3DFMT_L16, "L16", 16},
    {D3DFMT_VERTEXDATA, "VERTEXDATA", 0},
    {D3DFMT_INDEX16, "INDEX16", 16},
    {D3DFMT_INDEX32, "INDEX32", 32},
    {D3DFMT_Q16W16V16U16, "Q16W16V16U16", 64},
    {D3DFMT_MULTI2_ARGB8, "MULTI2_ARGB8", 0},
    {D3DFMT_R16F, "R16F", 16},
    {D3DFMT_G16R16F, "G16R16F", 32},
    {D3DFMT_A16B16G16R16F, "A16B16G16R16F", 64},
    {D3DFMT_R32F, "R32F", 32},
    {D3DFMT_G32R32F, "G32R32F", 64},
    {D3DFMT_A32B32G32R32F, "A32B32G32R32F", 128},
    {D3DFMT_CxV8U8, "CxV8U8", 16},
};

}  // namespace

const char* D3D_GetFormatName(D3DFORMAT format, UINT* bitsPerPixel) {
    for (const FormatName& entry : kFormats) {
        if (entry.format == format) {
            if (bitsPerPixel != nullptr) {
                *bitsPerPixel = entry.bits;
            }
            return entry.name;
        }
    }
    if (bitsPerPixel != nullptr) {
        *bitsPerPixel = 0;
    }
    return "Unknown";
}

const char* D3D_GetPoolName(D3DPOOL pool) {
    switch (pool) {
        case D3DPOOL_DEFAULT:
            return "DEFAULT";
        case D3DPOOL_MANAGED:
            return "MANAGED";
        case D3DPOOL_SYSTEMMEM:
            return "SYSTEM";
        case D3DPOOL_SCRATCH:
            return "SCRATCH";
    }
    return "Unknown";
}
