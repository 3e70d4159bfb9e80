#include "platform/d3dx/image_info.h"

#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info_fill.h"

void d3dx::FillImageInfo(const ImageHeader& header, D3DXIMAGE_INFO* info) {
    info->Width = header.width;
    info->Height = header.height;
    info->Depth = 1;
    info->MipLevels = 1;
    info->Format = header.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    info->ResourceType = D3DRTYPE_TEXTURE;
    info->ImageFileFormat = header.kind == ImageFileKind::kPng ? D3DXIFF_PNG : D3DXIFF_JPG;
}

HRESULT D3DXGetImageInfoFromFileInMemory(LPCVOID srcData, UINT srcDataSize,
                                         D3DXIMAGE_INFO* srcInfo) {
    if (srcData == nullptr || srcDataSize == 0 || srcInfo == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    d3dx::ImageHeader header;
    if (HRESULT hr = d3dx::ReadImageHeader(srcData, srcDataSize, &header); FAILED(hr)) {
        return hr;
    }
    d3dx::FillImageInfo(header, srcInfo);
    return S_OK;
}
