// BM_MenuWindowDraw: one frame of the UI layer at 800 x 600: a focused window of 100 items (15
// lines showing, scrolled to item 50) with the demo's frame, its scroll bar and an open help
// balloon, through DrawMenuWindows. Items are frames. BM_MenuWindowFrameClear draws the same
// frame's clear alone as the reference.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/font.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/frame_textures.h"
#include "sprite_ui/menu_window.h"

#include "fuzz_program_dir.h"

namespace {

// The program's directory (the one of every benchmark of this program) with the demo's frame and
// balloon images.
void CopyFrameImages() {
    const std::string dir = FuzzProgramDirectory("spritebench");
    std::filesystem::create_directories(dir + "/bmp");
    for (const char* name :
         {"frame0.png", "frame1.png", "frame2.png", "frame3.png", "frame4.png", "baloon.png"}) {
        std::filesystem::copy_file(std::string(QVN_DEMO_DIR) + "/bmp/" + name, dir + "/bmp/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

bool StartDevice() {
    SetLogEnabled(0);
    if (CreateD3DApplication() == 0) {
        return false;
    }
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
    return SUCCEEDED(D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44));
}

MenuWindow* MakeWindow() {
    MenuWindow* window = CreateMenuWindow(200, 100, 400, 360, 24, nullptr, nullptr, 0);
    for (int i = 0; i < 100; ++i) {
        const std::string text = "item " + std::to_string(i) + " [FF8080]of[] the list";
        MenuItem item;
        item.text = text.c_str();
        item.flags = i % 7 == 3 ? kMenuItemDisabled : 0;
        window->AddItem(item);
    }
    SetFocusWindow(window);
    window->MoveCurrent(50);
    return window;
}

void ClearTarget() {
    D3DApp->device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060u, 1.0f, 0);
}

void BM_MenuWindowDraw(benchmark::State& state) {
    CopyFrameImages();
    if (!StartDevice()) {
        state.SkipWithError("no device");
        return;
    }
    LoadFrameTextures(GetPath(PathKind::Image, "frame"));
    MenuWindow* window = MakeWindow();
    D3DApp->device->BeginScene();
    ClearTarget();
    DrawMenuWindows();
    const RECT& area = window->itemArea;
    HelpBaloon = CreateBaloon((area.left + area.right) / 2, area.top + 24 * 7, nullptr,
                              "The help of the current item/on two lines", nullptr);
    if (HelpBaloon == nullptr) {
        state.SkipWithError("no balloon");
        return;
    }
    for (auto _ : state) {
        ClearTarget();
        window->flags &= ~kMenuDrawn;
        HelpBaloon->flags &= ~kBaloonDrawn;
        DrawMenuWindows();
    }
    D3DApp->device->EndScene();
    state.SetItemsProcessed(state.iterations());
    DestroyAllMenuWindows();
    ResetBaloonTimer();
    ReleaseDefaultFrameTextures();
    D3D_ReleaseAllFonts();
    DestroyD3DApplication();
}
BENCHMARK(BM_MenuWindowDraw)->Unit(benchmark::kMicrosecond);

void BM_MenuWindowFrameClear(benchmark::State& state) {
    if (!StartDevice()) {
        state.SkipWithError("no device");
        return;
    }
    D3DApp->device->BeginScene();
    for (auto _ : state) {
        ClearTarget();
    }
    D3DApp->device->EndScene();
    state.SetItemsProcessed(state.iterations());
    DestroyD3DApplication();
}
BENCHMARK(BM_MenuWindowFrameClear)->Unit(benchmark::kMicrosecond);

}  // namespace
