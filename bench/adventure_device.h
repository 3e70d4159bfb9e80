#pragma once
// The adventure benchmarks' device: an 800 x 600 windowed device without a display, with the
// screen size, the message font scale and the letterbox of that screen; the log off. Made once
// per program: every benchmark draws with the same device and the objects made on it.

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "shell/program.h"

inline void StartAdventureDevice() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    SetLogEnabled(0);
    CreateD3DApplication();
    static int window;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 800;
    pp.BackBufferHeight = 600;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
    pp.Windowed = TRUE;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44);
    ScreenWidth = 800;
    ScreenHeight = 600;
    MessageFontScale = ComputeMessageFontScale(800, 600);
    ComputeLetterbox(800, 600, &LetterboxScale, &LetterboxRect);
}
