#include "fuzz_device.h"

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "shell/program.h"

bool MakeAdventureDevice(UINT width, UINT height, bool depthBuffer, D3DFORMAT backBufferFormat) {
    if (CreateD3DApplication() == 0) {
        return false;
    }
    static int window;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = backBufferFormat;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
    // A window takes the desktop's format; any other is a full-screen mode's.
    pp.Windowed = backBufferFormat == D3DFMT_X8R8G8B8 ? TRUE : FALSE;
    pp.EnableAutoDepthStencil = depthBuffer ? TRUE : FALSE;
    pp.AutoDepthStencilFormat = depthBuffer ? D3DFMT_D16 : D3DFMT_UNKNOWN;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44))) {
        return false;
    }
    ScreenWidth = width;
    ScreenHeight = height;
    MessageFontScale = ComputeMessageFontScale(width, height);
    ComputeLetterbox(width, height, &LetterboxScale, &LetterboxRect);
    return true;
}
