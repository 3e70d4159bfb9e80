#pragma once
// Our DirectShow: a filter graph that plays one movie file into a window. RenderFile opens the
// file and connects its first picture stream to a video renderer and its first sound stream to
// the program's own sound device; a running graph decodes on a thread of its own and shows each
// picture when the sound has reached its time stamp. Two renderers exist: the Video Mixing
// Renderer 9 in windowless mode (added to the graph before RenderFile; it draws into a clipping
// window at a destination rectangle), and the default renderer that RenderFile chooses when none
// was added, whose video window lies in its owner's client area. Events (EC_COMPLETE at the end,
// EC_ERRORABORT when decoding fails) wait in the graph's queue, and each one posts the window
// message given to SetNotifyWindow.
//
// Every call must come from the thread that called CoInitialize; the graph's own thread never
// reaches the caller's code, only its queue, through the notification message.

#include "platform/winbase/win_types.h"

using CLSID = GUID;
using REFCLSID = const GUID&;
using OAHWND = LONG_PTR;
using OAEVENT = LONG_PTR;
// Positions and durations of the media in 100-nanosecond units.
using REFERENCE_TIME = LONGLONG;

constexpr LONG OATRUE = -1;
constexpr LONG OAFALSE = 0;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;

// Result codes.
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
// The file does not exist or cannot be read.
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
// The file holds no stream that can be decoded.
constexpr HRESULT VFW_E_CANNOT_RENDER = static_cast<HRESULT>(0x80040218u);
// The call does not fit the object's state (not rendered yet, not in windowless mode...).
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);
// The file is not a movie of a known format.
constexpr HRESULT VFW_E_UNKNOWN_FILE_TYPE = static_cast<HRESULT>(0x80040240u);
// The file's format was recognised but it is damaged beyond playing; also the code of
// EC_ERRORABORT when a stream stops decoding during play.
constexpr HRESULT VFW_E_INVALID_FILE_FORMAT = static_cast<HRESULT>(0x80040241u);

// Event codes.
constexpr LONG EC_COMPLETE = 0x01;
constexpr LONG EC_USERABORT = 0x02;
constexpr LONG EC_ERRORABORT = 0x03;

// IMediaSeeking::SetPositions flags.
constexpr DWORD AM_SEEKING_NoPositioning = 0x0;
constexpr DWORD AM_SEEKING_AbsolutePositioning = 0x1;

// IVMRFilterConfig9::SetRenderingMode.
constexpr DWORD VMR9Mode_Windowed = 0x1;
constexpr DWORD VMR9Mode_Windowless = 0x2;

// Classes and interfaces.
inline constexpr GUID CLSID_FilterGraph = {0x51564E10, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 1}};
inline constexpr GUID CLSID_VideoMixingRenderer9 = {
    0x51564E10, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 2}};
inline constexpr GUID IID_IGraphBuilder = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 1}};
inline constexpr GUID IID_IMediaControl = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 2}};
inline constexpr GUID IID_IMediaEventEx = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 3}};
inline constexpr GUID IID_IMediaSeeking = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 4}};
inline constexpr GUID IID_IBasicVideo = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 5}};
inline constexpr GUID IID_IBasicAudio = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 6}};
inline constexpr GUID IID_IVideoWindow = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 7}};
inline constexpr GUID IID_IBaseFilter = {0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 8}};
inline constexpr GUID IID_IVMRFilterConfig9 = {
    0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 9}};
inline constexpr GUID IID_IVMRWindowlessControl9 = {
    0x51564E11, 0x4453, 0x4853, {0, 0, 0, 0, 0, 0, 0, 10}};

// A filter that can be added to a graph: only the Video Mixing Renderer 9 is one here.
struct IBaseFilter : IUnknown {};

struct IGraphBuilder : IUnknown {
    // Adds a renderer made by CoCreateInstance; E_INVALIDARG for anything else or a second one.
    virtual HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) = 0;
    // Opens the movie `file` (a path of the game's form) and connects its streams; once per
    // graph (VFW_E_WRONG_STATE after that). `playList` must be null.
    virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

struct IMediaControl : IUnknown {
    // Plays from the current position; the first Run waits until the first picture and a
    // second of sound are decoded. VFW_E_WRONG_STATE before RenderFile.
    virtual HRESULT Run() = 0;
    // Halts where the playback stands; S_OK also when it was not running.
    virtual HRESULT Stop() = 0;
};

struct IMediaEventEx : IUnknown {
    // Takes the oldest event (code, two parameters); E_ABORT when none is queued. Only a time-out
    // of 0 is supported: nothing waits.
    virtual HRESULT GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) = 0;
    virtual HRESULT FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) = 0;
    // Every event queued from now on posts `message` (wParam 0, lParam `instance`) to `window`;
    // a null window posts nothing.
    virtual HRESULT SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) = 0;
};

struct IMediaSeeking : IUnknown {
    // Only an absolute current position is supported, and only 0 (the start); the stop position
    // must be left alone (AM_SEEKING_NoPositioning).
    virtual HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                 DWORD stopFlags) = 0;
};

struct IBasicVideo : IUnknown {
    // The movie's native picture size; E_NOINTERFACE without a picture stream.
    virtual HRESULT GetVideoSize(LONG* width, LONG* height) = 0;
};

struct IBasicAudio : IUnknown {
    // Hundredths of a decibel, -10000 (silent) to 0 (full); E_NOTIMPL for a movie without sound.
    virtual HRESULT put_Volume(LONG volume) = 0;
    virtual HRESULT get_Volume(LONG* volume) = 0;
};

// The default renderer's video window, a child of its owner: positions are in the owner's client
// area. Every call answers E_NOINTERFACE when the graph has no default renderer.
struct IVideoWindow : IUnknown {
    virtual HRESULT put_Owner(OAHWND owner) = 0;
    // Mouse and key messages of the video window go to this window.
    virtual HRESULT put_MessageDrain(OAHWND drain) = 0;
    virtual HRESULT put_WindowStyle(LONG style) = 0;
    virtual HRESULT HideCursor(LONG hide) = 0;
    virtual HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height) = 0;
    virtual HRESULT put_Visible(LONG visible) = 0;
    // OATRUE: the video covers the owner's whole client area; OAFALSE: its own position again.
    virtual HRESULT put_FullScreenMode(LONG mode) = 0;
    virtual HRESULT SetWindowForeground(LONG focus) = 0;
    virtual HRESULT NotifyOwnerMessage(OAHWND window, LONG message, LONG_PTR wParam,
                                       LONG_PTR lParam) = 0;
};

struct IVMRFilterConfig9 : IUnknown {
    // VMR9Mode_Windowed or VMR9Mode_Windowless, before RenderFile (VFW_E_WRONG_STATE after).
    virtual HRESULT SetRenderingMode(DWORD mode) = 0;
};

// Reached from the Video Mixing Renderer 9 only in windowless mode (E_NOINTERFACE otherwise).
struct IVMRWindowlessControl9 : IUnknown {
    // The native size of the connected picture stream (VFW_E_WRONG_STATE before a connection);
    // the aspect-ratio outputs may be null and are given the same size.
    virtual HRESULT GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                                       LONG* aspectHeight) = 0;
    // The part of the picture shown (null: all of it) and where it goes in the clipping
    // window's client area (null: keep the present one).
    virtual HRESULT SetVideoPosition(const RECT* source, const RECT* destination) = 0;
    virtual HRESULT SetVideoClippingWindow(HWND window) = 0;
};

// A new object of `clsid` (CLSID_FilterGraph, CLSID_VideoMixingRenderer9) asked for as `iid`.
// CO_E_NOTINITIALIZED on a thread without CoInitialize, CLASS_E_NOAGGREGATION with an outer
// object, REGDB_E_CLASSNOTREG for an unknown class or a context without CLSCTX_INPROC_SERVER.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
