#pragma once

#include "platform/d3dx/d3dx_types.h"
#include "platform/d3dx/image_decode.h"

namespace d3dx {

void FillImageInfo(const ImageHeader& header, D3DXIMAGE_INFO* info);

}  // namespace d3dx
