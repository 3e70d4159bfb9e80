#include "media/movie/movie_player.h"

#include "media/graphics/d3d_application.h"
#include "media/graphics/device_log.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"

HRESULT MoviePlayer::Play(int loopFlag) {
    loop = loopFlag;
    if (!control) {
        return E_FAIL;
    }
    const HRESULT result = control->Run();
    if (FAILED(result)) {
        return LogDeviceError(names_.play, result);
    }
    playing = 1;
    return result;
}

HRESULT MoviePlayer::Stop() {
    HRESULT result = S_FALSE;
    if (control) {
        result = control->Stop();
        if (FAILED(result)) {
            LogDeviceError(names_.stop, result);
        }
    }
    playing = 0;
    return result;
}

HRESULT MoviePlayer::SetVolume(LONG volume) {
    if (!basicAudio) {
        return 0;
    }
    const HRESULT result = basicAudio->put_Volume(volume);
    return FAILED(result) ? LogDeviceError(names_.setVolume, result) : result;
}

HRESULT MoviePlayer::GetVolume(LONG* volume) {
    if (!basicAudio) {
        return 0;
    }
    const HRESULT result = basicAudio->get_Volume(volume);
    return FAILED(result) ? LogDeviceError(names_.getVolume, result) : result;
}

void MoviePlayer::ProcessEvents() {
    if (!events) {
        return;
    }
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
        events->FreeEventParams(code, param1, param2);
        // A zero answer may have deleted this movie: nothing of it is touched afterwards.
        if (eventCallback != nullptr && eventCallback(code) == 0) {
            return;
        }
        if (code != EC_COMPLETE) {
            continue;
        }
        if (loop == 0) {
            Stop();
            continue;
        }
        LONGLONG start = 0;
        if (!seeking || FAILED(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning,
                                                     nullptr, AM_SEEKING_NoPositioning))) {
            if (control) {
                control->Stop();
                control->Run();
            }
        }
    }
}

bool MoviePlayer::WideFileName(const char* file, WCHAR (&wide)[260]) {
    return file != nullptr && MultiByteToWideChar(CP_ACP, 0, file, -1, wide, 260) > 0;
}

HWND MoviePlayer::OwnerWindow(HWND given) {
    // Not the foreground window, which may be another window of the game (the variable editor):
    // the movie always belongs to the game window.
    return given != nullptr ? given : DisplaySettings.hDeviceWindow;
}

bool MoviePlayer::PresentsFullScreen() {
    return D3DApp != nullptr && D3DApp->device && D3DApp->presentParameters.Windowed == 0;
}

RECT MoviePlayer::PictureArea(HWND owner) {
    RECT area{};
    if (PresentsFullScreen() && owner == D3DApp->presentParameters.hDeviceWindow) {
        area = RECT{0, 0, static_cast<LONG>(D3DApp->presentParameters.BackBufferWidth),
                    static_cast<LONG>(D3DApp->presentParameters.BackBufferHeight)};
    } else {
        GetClientRect(owner, &area);
    }
    return area;
}

HRESULT MoviePlayer::QueryFront() {
    HRESULT result = QueryOne(IID_IMediaControl, &control);
    if (SUCCEEDED(result)) {
        result = QueryOne(IID_IMediaEventEx, &events);
    }
    if (SUCCEEDED(result)) {
        result = QueryOne(IID_IMediaSeeking, &seeking);
    }
    return result;
}

HRESULT MoviePlayer::QueryBack() {
    HRESULT result = QueryOne(IID_IBasicVideo, &basicVideo);
    if (SUCCEEDED(result)) {
        result = QueryOne(IID_IBasicAudio, &basicAudio);
    }
    return result;
}
