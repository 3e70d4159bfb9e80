// UpdateFrame: one frame of the game.
#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "adventure/train_map_screen.h"
#include "foundation/clock.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/plane.h"
#include "media/input/di_application.h"
#include "media/movie/movie_players.h"
#include "platform/win32/window_api.h"
#include "script/call_stack.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "sprite_ui/menu_input.h"
#include "sprite_ui/menu_window.h"
#include "sprite_ui/sprite.h"
#include "title/title_menu.h"

namespace {

FrameDrawnObserver frameDrawnObserver = nullptr;
void* frameDrawnContext = nullptr;

// False when the frame must be skipped: the device is lost or cannot be reset yet.
bool RecoverDevice(IDirect3DDevice9* device) {
    const HRESULT state = device->TestCooperativeLevel();
    if (SUCCEEDED(state) && DeviceResetPending == 0 && !D3DApp->resetPending) {
        return true;
    }
    if (state == D3DERR_DEVICELOST) {
        return false;
    }
    if (FAILED(D3DApp->Reset(&DisplaySettings))) {
        return false;
    }
    DeviceResetPending = 0;
    SetCursorShape(kCursorShapeRebuild);
    return true;
}

void RunModeFrame(int mode, double t) {
    const auto seconds = static_cast<float>(t);
    switch (mode) {
        case kGameModeAdventure:
            AdventureFrame(t);
            break;
        case kGameModeTitleMenu:
            Title::Update(seconds);
            break;
        case kGameModeTrainMap:
            TrainMapScreen::Draw(seconds);
            break;
        default:
            break;
    }
}

void Set2DState(IDirect3DDevice9* device) {
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

}  // namespace

void SetFrameDrawnObserver(FrameDrawnObserver observer, void* context) {
    frameDrawnObserver = observer;
    frameDrawnContext = context;
}

void UpdateFrame(int advance) {
    const int sampledMode = GameMode;
    const double now = GetSeconds();
    const double measured = MeasureFrameTime(now);
    if (MoviePlaying() || D3DApp == nullptr || D3DApp->device == nullptr ||
        (MainWindow != nullptr && IsIconic(MainWindow))) {
        return;
    }
    IDirect3DDevice9* device = D3DApp->device.get();
    double t = AdvanceTime(measured, advance);
    if (!RecoverDevice(device)) {
        return;
    }
    // The reset may have replaced the device.
    device = D3DApp->device.get();
    t *= static_cast<double>(GameSpeed);

    // The frame after the last poll has acted on its presses: a redraw takes none of them again.
    if (advance == 0 && gDIApplication != nullptr) {
        gDIApplication->MarkInputRead();
    }
    ISprite::StepAll(SpriteStepMilliseconds(t));
    D3D_UpdatePlanes(t);
    UpdateMenuInput(t);
    device->BeginScene();
    // Every frame starts from black: the back buffer holds nothing defined after a present (the
    // device discards it), and no scene covers the margins of the letterbox, the screen before
    // the first background or what the FPS line and the cursor drew in the frame before.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    RunModeFrame(sampledMode, t);
    if (IsScriptStackEmpty()) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    }
    if (MoviePlaying()) {
        device->EndScene();
        SetDialogMode(1);
        SetDialogMode(0);
        return;
    }
    Set2DState(device);
    D3D_DrawPlanes();
    ISprite::DrawAll(0);
    DrawMenuWindows();
    if (GameMode != sampledMode && GameMode == kGameModeAdventure) {
        CaptureBasePlane(nullptr);
    }
    SingleStepFlag = 0;
    CountFrame(now);
    UpdateCursor();
    UpdateCursorAutoMove();
    DrawSoftwareCursor();
    device->EndScene();
    if (frameDrawnObserver != nullptr) {
        frameDrawnObserver(frameDrawnContext);
    }
    if (PresentFrame() == D3DERR_DRIVERINTERNALERROR) {
        D3DApp->Reset(&DisplaySettings);
    }
}
