#pragma once
// Our sound device: a software mixer behind the DirectSound 8 interfaces the game uses. Buffers
// are byte rings with a play and a write cursor; the mix is 16-bit stereo at the primary
// buffer's rate (44,100 Hz unless SetFormat changes it). Output goes to SDL audio, or nowhere
// for the null device of tests (see dsound_test.h). Every call may come from any thread.

#include "platform/dsound/wave_format.h"
#include "platform/winbase/win_types.h"

// Result codes.
constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
constexpr HRESULT DSERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x887800A0u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);
constexpr HRESULT DSERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DSERR_ACCESSDENIED = E_ACCESSDENIED;
constexpr HRESULT DSERR_BUFFERTOOSMALL = static_cast<HRESULT>(0x887800B4u);

// Buffer capabilities (DSBUFFERDESC::dwFlags).
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_LOCHARDWARE = 0x00000004;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr DWORD DSBCAPS_CTRL3D = 0x00000010;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
constexpr DWORD DSBCAPS_STICKYFOCUS = 0x00004000;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

// Play, status and lock flags.
constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;

// Cooperative levels.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// Volume and pan in hundredths of a decibel; frequency in samples per second (0: the
// buffer's own rate); buffer sizes in bytes.
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_CENTER = 0;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

// 3-D settings: applied at once, or kept until the listener's CommitDeferredSettings.
constexpr DWORD DS3D_IMMEDIATE = 0;
constexpr DWORD DS3D_DEFERRED = 1;
constexpr float DS3D_DEFAULTMINDISTANCE = 1.0f;
constexpr float DS3D_DEFAULTMAXDISTANCE = 1000000000.0f;

using D3DVALUE = float;
#ifndef QVN_D3DVECTOR_DEFINED
#define QVN_D3DVECTOR_DEFINED
struct D3DVECTOR {
    float x;
    float y;
    float z;
};
#endif

// dwSize is sizeof(DSBUFFERDESC); 36, the size of the record in 32-bit programs, is accepted
// too. A primary buffer has no size and no format. guid3DAlgorithm is not used.
struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
};
using LPCDSBUFFERDESC = const DSBUFFERDESC*;

// Interface ids for QueryInterface.
inline constexpr GUID IID_IDirectSound8 = {0x51564E01, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 8}};
inline constexpr GUID IID_IDirectSoundBuffer = {
    0x51564E02, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr GUID IID_IDirectSoundBuffer8 = {
    0x51564E02, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 8}};
inline constexpr GUID IID_IDirectSound3DBuffer = {
    0x51564E03, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr GUID IID_IDirectSound3DBuffer8 = IID_IDirectSound3DBuffer;
inline constexpr GUID IID_IDirectSound3DListener = {
    0x51564E04, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr GUID IID_IDirectSound3DListener8 = IID_IDirectSound3DListener;
// The default output device; a null device GUID means the same.
inline constexpr GUID DSDEVID_DefaultPlayback = {
    0x51564E05, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 1}};

// A primary or secondary buffer. Cursors and sizes are in bytes of the buffer's own format.
struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
    // Copies the format (at least 16 bytes wanted); with no record, answers the size needed.
    virtual HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) = 0;
    virtual HRESULT GetVolume(LONG* volume) = 0;
    virtual HRESULT GetPan(LONG* pan) = 0;
    virtual HRESULT GetFrequency(DWORD* frequency) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    // Gives the `bytes` from `offset` as one part, or two when they wrap past the end. The
    // parts are the caller's to read and write until Unlock, which stores what was written.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2,
                         DWORD* bytes2, DWORD flags) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT SetFormat(LPCWAVEFORMATEX format) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    virtual HRESULT SetFrequency(DWORD frequency) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) = 0;
};
struct IDirectSoundBuffer8 : IDirectSoundBuffer {};
using LPDIRECTSOUNDBUFFER = IDirectSoundBuffer*;
using LPDIRECTSOUNDBUFFER8 = IDirectSoundBuffer8*;

// Position and distances of a 3-D buffer (DSBCAPS_CTRL3D, mono formats only). The sound is
// attenuated by the inverse of its distance from the listener beyond the minimum distance, and
// no further beyond the maximum distance.
struct IDirectSound3DBuffer : IUnknown {
    virtual HRESULT GetPosition(D3DVECTOR* position) = 0;
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) = 0;
    virtual HRESULT GetMinDistance(D3DVALUE* distance) = 0;
    virtual HRESULT SetMinDistance(D3DVALUE distance, DWORD apply) = 0;
    virtual HRESULT GetMaxDistance(D3DVALUE* distance) = 0;
    virtual HRESULT SetMaxDistance(D3DVALUE distance, DWORD apply) = 0;
};
using IDirectSound3DBuffer8 = IDirectSound3DBuffer;

// The listener, reached from the primary buffer.
struct IDirectSound3DListener : IUnknown {
    virtual HRESULT GetPosition(D3DVECTOR* position) = 0;
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) = 0;
    virtual HRESULT CommitDeferredSettings() = 0;
};
using IDirectSound3DListener8 = IDirectSound3DListener;

struct IDirectSound8 : IUnknown {
    virtual HRESULT CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                      IUnknown* outer) = 0;
    // A new buffer that shares the original's memory, with its own cursor and controls.
    virtual HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                         LPDIRECTSOUNDBUFFER* duplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
};
using LPDIRECTSOUND8 = IDirectSound8*;

// `device` null or DSDEVID_DefaultPlayback: the default output; else a GUID from the
// enumeration. DSERR_NODRIVER when no such output can be opened.
HRESULT DirectSoundCreate8(const GUID* device, LPDIRECTSOUND8* sound, IUnknown* outer);

// Called first for "Primary Sound Driver" with a null GUID, then for each output device with
// its GUID, description and module name; returning FALSE stops the enumeration.
using LPDSENUMCALLBACKA = BOOL (*)(GUID* guid, LPCSTR description, LPCSTR module, LPVOID context);
HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context);
