#pragma once
// What the two movie players share: their fields but the renderer's interface, Play, Stop, the
// volume calls, the event pump, the event callback, and the bookkeeping behind each player's free
// functions (one global instance and a map from owner window to movie). DSMovie9
// (ds_movie9.h) renders through the windowless Video Mixing Renderer 9; DSMovie (ds_movie.h),
// the fallback, through the default renderer's video window. Main thread only.

#include <map>
#include <new>

#include "platform/d3dx/com_ptr.h"
#include "platform/dshow/dshow.h"
#include "platform/winbase/win_types.h"

// The private window message of the movie players' graph events, WM_USER + 91.
constexpr UINT MovieNotifyMessage = 0x045B;

// The hook of the event pump: non-zero lets the pump go on, zero stops it at once (the callback
// may then have closed and deleted the movie).
using MovieEventCallback = int (*)(int code);

template <typename Interface>
using MovieInterface = d3dx::ComPtr<Interface>;

// The log names of one player's methods.
struct MovieLogNames {
    const char* open;
    const char* play;
    const char* stop;
    const char* setVolume;
    const char* getVolume;
};

class MoviePlayer {
public:
    // Stores the loop flag and runs the graph: playing = 1 on success. E_FAIL without a graph.
    HRESULT Play(int loopFlag);
    // Stops the graph (S_FALSE without one); playing = 0 in every case.
    HRESULT Stop();
    // Hundredths of a decibel, 0 full, -10000 silent; 0 without the audio interface.
    HRESULT SetVolume(LONG volume);
    HRESULT GetVolume(LONG* volume);
    // Takes every queued event: the callback sees each code first; a completion rewinds a looping
    // movie (or stops and runs it when that fails) and stops any other.
    void ProcessEvents();
    void SetEventCallback(MovieEventCallback callback) { eventCallback = callback; }

    HWND owner = nullptr;
    int loop = 0;
    int playing = 0;
    MovieEventCallback eventCallback = nullptr;
    MovieInterface<IGraphBuilder> graph;
    MovieInterface<IMediaControl> control;
    MovieInterface<IMediaSeeking> seeking;
    MovieInterface<IMediaEventEx> events;
    MovieInterface<IBasicVideo> basicVideo;
    MovieInterface<IBasicAudio> basicAudio;

protected:
    explicit MoviePlayer(const MovieLogNames& names) : names_(names) {}
    ~MoviePlayer() = default;
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // The file name in UTF-16, at most MAX_PATH characters with the terminator; false when it
    // does not convert or fit.
    static bool WideFileName(const char* file, WCHAR (&wide)[260]);
    // The owner of a movie: the given window, or the game window when none is given.
    static HWND OwnerWindow(HWND given);
    // The Direct3D application has a device that presents full screen.
    static bool PresentsFullScreen();
    // Where a movie is placed in `owner`: its client rectangle, but in full screen the game's
    // whole picture (the back buffer), which the menu bar covers while it is shown: a movie opened
    // under the bar is placed as one opened without it.
    static RECT PictureArea(HWND owner);
    // Open's queries of the graph, in order: control, events, seeking (the front), and
    // basicVideo, basicAudio (the back); the first failure.
    HRESULT QueryFront();
    HRESULT QueryBack();
    template <typename Interface>
    HRESULT QueryOne(REFIID id, MovieInterface<Interface>* out);
    // Close: Stop, then `hide` (the step of a player that has one), then the notification is
    // unhooked and the interfaces are released in order, `further` (the renderer's) after the
    // events; owner and loop are cleared.
    template <typename Further, typename Hide>
    void CloseWith(MovieInterface<Further>& further, Hide hide);
    const MovieLogNames& names() const { return names_; }

private:
    const MovieLogNames& names_;
};

template <typename Further, typename Hide>
void MoviePlayer::CloseWith(MovieInterface<Further>& further, Hide hide) {
    Stop();
    hide();
    if (events) {
        events->SetNotifyWindow(0, 0, 0);
    }
    control.reset();
    seeking.reset();
    events.reset();
    further.reset();
    graph.reset();
    basicVideo.reset();
    basicAudio.reset();
    owner = nullptr;
    loop = 0;
}

template <typename Interface>
HRESULT MoviePlayer::QueryOne(REFIID id, MovieInterface<Interface>* out) {
    Interface* found = nullptr;
    const HRESULT result = graph->QueryInterface(id, reinterpret_cast<void**>(&found));
    out->reset(found);
    return result;
}

// One player's global instance and window map, and the free functions' common work over them.
template <typename Player>
struct MovieGlobals {
    Player* instance = nullptr;
    std::map<HWND, Player*> windows;

    // Deletes the present instance and opens a new one; E_FAIL when it cannot be made.
    HRESULT Open(const char* file, HWND owner, const RECT* rect) {
        Close();
        instance = new (std::nothrow) Player;
        return instance != nullptr ? instance->Open(file, owner, rect) : E_FAIL;
    }
    void Close() {
        if (instance != nullptr) {
            instance->Close();
            delete instance;
            instance = nullptr;
        }
    }
    int IsPlaying() const { return instance != nullptr && instance->playing != 0 ? 1 : 0; }
    void SetEventCallback(MovieEventCallback callback) {
        if (instance != nullptr) {
            instance->SetEventCallback(callback);
        }
    }
    HRESULT Play(int loop) { return instance != nullptr ? instance->Play(loop) : 0; }
    HRESULT Stop() { return instance != nullptr ? instance->Stop() : 0; }
    // 1 when the call gave anything but S_OK.
    int SetVolume(LONG volume) {
        return instance != nullptr && instance->SetVolume(volume) != S_OK ? 1 : 0;
    }
    int GetVolume(LONG* volume) {
        return instance != nullptr && instance->GetVolume(volume) != S_OK ? 1 : 0;
    }
    // Runs the pump of the movie that `window` owns.
    void OnGraphNotify(HWND window) {
        auto found = windows.find(window);
        if (found != windows.end()) {
            found->second->ProcessEvents();
        }
    }
    // Closes every registered movie, then deletes the instance.
    void CloseAll() {
        while (!windows.empty()) {
            Player* movie = windows.begin()->second;
            windows.erase(windows.begin());
            movie->Close();
        }
        Close();
    }
    // The map keeps the first movie of a window; a movie forgets only its own entry.
    void Register(HWND window, Player* movie) { windows.emplace(window, movie); }
    void Unregister(HWND window, const Player* movie) {
        auto found = windows.find(window);
        if (found != windows.end() && found->second == movie) {
            windows.erase(found);
        }
    }
};
