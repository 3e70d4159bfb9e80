#pragma once
// The first movie player: a filter graph whose Video Mixing Renderer 9, in windowless mode, draws
// the movie straight into its owner's client area, fitted to the destination with the movie's
// aspect ratio kept. The script function for movies tries it first (with the game window as the
// owner and its whole client area as the destination) and falls back to DSMovie (ds_movie.h)
// when its Open fails. Every failing call logs "%s: %s" with its log name ("DSMovie9::Open",
// "DSMovie9::Play", "DSMovie9::Stop", "DSMovie9::SetVolume", "DSMovie9::GetVolume") and the
// code's name.

#include "media/movie/movie_player.h"

class DSMovie9 : public MoviePlayer {
public:
    DSMovie9();
    ~DSMovie9();

    // Builds the graph for the movie file `file` (a path in the game's code page): `owner` null
    // takes the game window; `rect` null the owner's whole client area. The first failing step
    // closes everything, logs and answers its code; a movie whose picture has no size fails
    // with E_FAIL. Success registers the movie under its owner.
    HRESULT Open(const char* file, HWND owner, const RECT* rect);
    // Stops, unhooks the notification, releases every interface and leaves the window map.
    // Answers 0.
    HRESULT Close();

    MovieInterface<IVMRWindowlessControl9> windowless;
};

// The destination of a movie of `width` x `height` in `destination`: pillar-boxed or
// letter-boxed and centred when its aspect ratio differs, in integers truncating toward zero.
// False (and `destination` unchanged) when the movie has no size.
bool FitMovieRectangle(RECT* destination, LONG width, LONG height);

// The free functions over the one global instance; each does nothing and answers 0 without it.
// Deletes the present instance, makes a new one and answers its Open (E_FAIL when it cannot be
// made). After a failed Open the instance stays, empty.
HRESULT DSMovie9_Open(const char* file, HWND owner, const RECT* rect);
void DSMovie9_SetEventCallback(MovieEventCallback callback);
HRESULT DSMovie9_Play(int loop);
// 1 while the instance exists and plays.
int DSMovie9_IsPlaying();
// 1 when SetVolume gave anything but S_OK.
int DSMovie9_SetVolume(LONG volume);
// The handler of MovieNotifyMessage: the pump of the movie that `window` owns.
void DSMovie9_OnGraphNotify(HWND window);
// Closes and deletes the instance.
void DSMovie9_Close();
HRESULT DSMovie9_Stop();
// 1 when GetVolume gave anything but S_OK.
int DSMovie9_GetVolume(LONG* volume);
// Closes every movie of the window map, then deletes the instance.
void DSMovie9_CloseAll();
