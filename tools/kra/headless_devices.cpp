#include "kra/headless_devices.h"

#include "media/graphics/d3d_application.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"

namespace qvn_kra {
namespace {

// A window handle for the devices; nothing is ever shown in it.
HWND HeadlessWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

}  // namespace

bool StartHeadlessDevices(unsigned width, unsigned height) {
    bool ok = CreateD3DApplication() == 1;
    if (ok) {
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = width;
        pp.BackBufferHeight = height;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = HeadlessWindow();
        pp.Windowed = TRUE;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        ok = SUCCEEDED(D3DApp->SetDevice(HeadlessWindow(), &pp, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING));
    }
    dsound_test::UseNullDevice(true);
    ok = ok && SUCCEEDED(CreateDirectSound(HeadlessWindow(), nullptr));
    if (!ok) {
        StopHeadlessDevices();
    }
    return ok;
}

void StopHeadlessDevices() {
    DestroyDirectSound();
    DestroyD3DApplication();
}

}  // namespace qvn_kra
