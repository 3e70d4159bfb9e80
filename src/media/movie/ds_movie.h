#pragma once
// The second movie player, used when DSMovie9's Open fails: a filter graph with the default
// renderer, whose video window is made a child of the owner: in full screen at the movie's native
// size, centred in the owner's client area; in a window at the requested size (the whole client
// area by default), centred, without keeping the aspect ratio. It is driven with DSMovie9's calls
// and shares its event protocol; it has a global instance and a window map of its own. Failing
// calls log under "DSMovie::Open", "DSMovie::Play", "DSMovie::Stop", "DSMovie::SetVolume",
// "DSMovie::GetVolume", "DSMovie::SetPosition", "DSMovie::FullScreenMode" and
// "DSMovie::NotifyOwnerMessage".

#include "media/movie/movie_player.h"

class DSMovie : public MoviePlayer {
public:
    DSMovie();
    ~DSMovie();

    // As DSMovie9::Open, with the video window placed as above.
    HRESULT Open(const char* file, HWND owner, const RECT* rect);
    // As DSMovie9::Close, hiding the video window after stopping.
    HRESULT Close();
    // Moves the video window (owner's client coordinates); 0 without a video window.
    HRESULT SetPosition(LONG left, LONG top, LONG width, LONG height);
    HRESULT SetPosition(const RECT& rect);
    // OATRUE: the video covers the owner's client area; OAFALSE: back, with the owner brought
    // forward and given the keys. 0 without a video window.
    HRESULT FullScreenMode(LONG mode);
    // Passes an owner window's message on to the video window; 0 without one.
    HRESULT NotifyOwnerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    MovieInterface<IVideoWindow> videoWindow;
};

// The free functions over the global instance, as those of DSMovie9 (ds_movie9.h); each does
// nothing and answers 0 without it.
HRESULT DSMovie_Open(const char* file, HWND owner, const RECT* rect);
void DSMovie_SetEventCallback(MovieEventCallback callback);
HRESULT DSMovie_Play(int loop);
int DSMovie_IsPlaying();
int DSMovie_SetVolume(LONG volume);
// Invalidates `window`'s client area (without erasing), then runs the pump of its movie.
void DSMovie_OnGraphNotify(HWND window);
void DSMovie_Close();
HRESULT DSMovie_Stop();
int DSMovie_GetVolume(LONG* volume);
void DSMovie_CloseAll();
HRESULT DSMovie_SetPosition(LONG left, LONG top, LONG width, LONG height);
HRESULT DSMovie_SetPosition(const RECT* rect);
HRESULT DSMovie_FullScreenMode(LONG mode);
HRESULT DSMovie_NotifyOwnerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
