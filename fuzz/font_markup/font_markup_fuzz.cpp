// Text as scripts hand it to the message layout: any bytes, drawn and measured with a
// Shift-JIS font on a small back buffer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/font.h"

namespace {

D3DFont* MakeFont() {
    SetLogEnabled(0);
    if (CreateD3DApplication() == 0) {
        return nullptr;
    }
    static int window;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 96;
    pp.BackBufferHeight = 48;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
    pp.Windowed = TRUE;
    if (FAILED(D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44))) {
        return nullptr;
    }
    LOGFONTA lf{};
    lf.lfHeight = 12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s",
                  "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
    D3DFont* font = nullptr;
    // A small cache, so that runs also cycle it.
    if (FAILED(D3D_CreateFont(&font, &lf, 64))) {
        return nullptr;
    }
    return font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static D3DFont* font = MakeFont();
    if (font == nullptr) {
        return 0;
    }
    // The heap copy ends exactly at the terminator, so any read past it is caught.
    const std::string text(reinterpret_cast<const char*>(data), size);
    SIZE extent{};
    font->GetTextExtent(&extent, text.c_str());
    font->Draw(-8, 4, text.c_str(), nullptr);
    const RECT clip{10, 10, 40, 30};
    font->Draw(12, 0, text.c_str(), &clip);
    return 0;
}
