#include "shell/texture_filter.h"

#include <algorithm>

#include "media/graphics/d3d_functions.h"

namespace {

constexpr DWORD kHighestBit = 31;
// Sampler stages of the device.
constexpr DWORD kSamplerStages = 8;

}  // namespace

DWORD PowerOfTwo(DWORD n) {
    return DWORD{1} << std::min(n, kHighestBit);
}

D3DTEXTUREFILTERTYPE TextureFilterOfChoice(DWORD choice) {
    switch (choice) {
        case 0:
            return D3DTEXF_POINT;
        case 1:
            return D3DTEXF_LINEAR;
        default:
            return D3DTEXF_ANISOTROPIC;
    }
}

DWORD AnisotropyOfChoice(DWORD choice) {
    return choice >= 2 ? PowerOfTwo(choice - 1) : 1;
}

bool DeviceCanFilter(const D3DCAPS9& caps, DWORD choice, bool magnification) {
    const DWORD point = magnification ? D3DPTFILTERCAPS_MAGFPOINT : D3DPTFILTERCAPS_MINFPOINT;
    const DWORD linear = magnification ? D3DPTFILTERCAPS_MAGFLINEAR : D3DPTFILTERCAPS_MINFLINEAR;
    const DWORD anisotropic =
        magnification ? D3DPTFILTERCAPS_MAGFANISOTROPIC : D3DPTFILTERCAPS_MINFANISOTROPIC;
    switch (TextureFilterOfChoice(choice)) {
        case D3DTEXF_POINT:
            return (caps.TextureFilterCaps & point) != 0;
        case D3DTEXF_LINEAR:
            return (caps.TextureFilterCaps & linear) != 0;
        default:
            return (caps.TextureFilterCaps & anisotropic) != 0 &&
                   caps.MaxAnisotropy >= AnisotropyOfChoice(choice);
    }
}

void SetTextureFilter(DWORD firstStage, DWORD lastStage, DWORD minChoice, DWORD magChoice) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    const DWORD anisotropy = AnisotropyOfChoice(std::max(minChoice, magChoice));
    for (DWORD stage = firstStage; stage <= lastStage && stage < kSamplerStages; ++stage) {
        device->SetSamplerState(stage, D3DSAMP_MINFILTER, TextureFilterOfChoice(minChoice));
        device->SetSamplerState(stage, D3DSAMP_MAGFILTER, TextureFilterOfChoice(magChoice));
        device->SetSamplerState(stage, D3DSAMP_MAXANISOTROPY, anisotropy);
    }
}
