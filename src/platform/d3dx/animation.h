#pragma once
// Keyframed animation of the utility library. An animation set holds, per animated frame (by
// name), scale, rotation and translation keys in ticks, and callback keys; its period is its
// last key time. A controller plays registered sets on tracks, blends the tracks by weight into
// the frame matrices registered as outputs, changes track enable, speed and weight by keyed
// events over time, and reports the callback keys a track passes.

#include "platform/d3dx/d3dx_buffer.h"
#include "platform/d3dx/d3dx_errors.h"
#include "platform/d3dx/quaternion.h"

struct D3DXFRAME;

enum D3DXPLAYBACK_TYPE : DWORD {
    D3DXPLAY_LOOP = 0,
    D3DXPLAY_ONCE = 1,
    D3DXPLAY_PINGPONG = 2,
};

enum D3DXTRANSITION_TYPE : DWORD {
    D3DXTRANSITION_LINEAR = 0,
    D3DXTRANSITION_EASEINEASEOUT = 1,
};

struct D3DXKEY_VECTOR3 {
    FLOAT Time;
    D3DXVECTOR3 Value;
};

struct D3DXKEY_QUATERNION {
    FLOAT Time;
    D3DXQUATERNION Value;
};

struct D3DXKEY_CALLBACK {
    FLOAT Time;
    LPVOID pCallbackData;
};

struct D3DXTRACK_DESC {
    DWORD Priority;
    FLOAT Weight;
    FLOAT Speed;
    DOUBLE Position;
    BOOL Enable;
};

// Names a keyed track event; 0 is never a valid handle.
using D3DXEVENTHANDLE = DWORD;

// Interface identifiers for QueryInterface on an animation set.
extern const IID IID_ID3DXKeyframedAnimationSet;
extern const IID IID_ID3DXCompressedAnimationSet;

struct ID3DXAnimationSet : public IUnknown {
    virtual LPCSTR GetName() = 0;
    // Seconds.
    virtual DOUBLE GetPeriod() = 0;
    // A track position (seconds) mapped into the period by the playback type.
    virtual DOUBLE GetPeriodicPosition(DOUBLE position) = 0;
    virtual UINT GetNumAnimations() = 0;
    virtual HRESULT GetAnimationNameByIndex(UINT animation, LPCSTR* name) = 0;
    virtual HRESULT GetAnimationIndexByName(LPCSTR name, UINT* animation) = 0;
    // The animation's values at a periodic position: keys interpolated linearly (rotations
    // spherically); before the first key its value, after the last key its value. Missing keys
    // give scale 1, no rotation, translation 0.
    virtual HRESULT GetSRT(DOUBLE periodicPosition, UINT animation, D3DXVECTOR3* scale,
                           D3DXQUATERNION* rotation, D3DXVECTOR3* translation) = 0;
    virtual D3DXPLAYBACK_TYPE GetPlaybackType() = 0;
    virtual DOUBLE GetSourceTicksPerSecond() = 0;
    virtual UINT GetNumCallbackKeys() = 0;
    // GetNumCallbackKeys() keys, in time order.
    virtual HRESULT GetCallbackKeys(D3DXKEY_CALLBACK* keys) = 0;
};

struct ID3DXKeyframedAnimationSet : public ID3DXAnimationSet {
    // The keys packed into a buffer that D3DXCreateCompressedAnimationSet reads back. The
    // packing keeps every key exactly; `flags`, `lossiness` and `hierarchy` are not needed.
    virtual HRESULT Compress(DWORD flags, FLOAT lossiness, D3DXFRAME* hierarchy,
                             ID3DXBuffer** compressedData) = 0;
};

struct ID3DXCompressedAnimationSet : public ID3DXAnimationSet {
    virtual HRESULT GetCompressedData(ID3DXBuffer** compressedData) = 0;
};

// A set from compressed data with its own callback keys (copied; kept in time order).
// D3DXERR_INVALIDDATA when the data is not a packing made by Compress.
HRESULT D3DXCreateCompressedAnimationSet(LPCSTR name, DOUBLE ticksPerSecond,
                                         D3DXPLAYBACK_TYPE playback, ID3DXBuffer* compressedData,
                                         UINT numCallbackKeys, const D3DXKEY_CALLBACK* callbackKeys,
                                         ID3DXCompressedAnimationSet** animationSet);

// Receives the callback keys a track passes while the controller advances.
struct ID3DXAnimationCallbackHandler {
    virtual HRESULT HandleCallback(UINT track, LPVOID callbackData) = 0;

protected:
    ~ID3DXAnimationCallbackHandler() = default;
};

struct ID3DXAnimationController : public IUnknown {
    virtual UINT GetMaxNumTracks() = 0;
    virtual UINT GetNumAnimationSets() = 0;
    // With a reference the caller releases.
    virtual HRESULT GetAnimationSet(UINT index, ID3DXAnimationSet** animationSet) = 0;
    virtual HRESULT GetAnimationSetByName(LPCSTR name, ID3DXAnimationSet** animationSet) = 0;
    // Appends the set (a reference is kept); D3DERR_INVALIDCALL when it is already registered.
    virtual HRESULT RegisterAnimationSet(ID3DXAnimationSet* animationSet) = 0;
    // Removes the set, and takes it off every track that plays it.
    virtual HRESULT UnregisterAnimationSet(ID3DXAnimationSet* animationSet) = 0;
    // The animation of frame `name` is written into the given targets (any may be null).
    virtual HRESULT RegisterAnimationOutput(LPCSTR name, D3DXMATRIX* matrix, D3DXVECTOR3* scale,
                                            D3DXQUATERNION* rotation, D3DXVECTOR3* translation) = 0;
    // A registered set, or null to empty the track.
    virtual HRESULT SetTrackAnimationSet(UINT track, ID3DXAnimationSet* animationSet) = 0;
    // The track's set with a reference, or null.
    virtual HRESULT GetTrackAnimationSet(UINT track, ID3DXAnimationSet** animationSet) = 0;
    virtual HRESULT SetTrackEnable(UINT track, BOOL enable) = 0;
    virtual HRESULT SetTrackPosition(UINT track, DOUBLE position) = 0;
    virtual HRESULT SetTrackSpeed(UINT track, FLOAT speed) = 0;
    virtual HRESULT SetTrackWeight(UINT track, FLOAT weight) = 0;
    virtual HRESULT GetTrackDesc(UINT track, D3DXTRACK_DESC* desc) = 0;
    // Events in global time: the enable changes at `startTime`; speed and weight move from
    // their value at `startTime` to the new one over `duration` seconds. 0 when the track does
    // not exist.
    virtual D3DXEVENTHANDLE KeyTrackEnable(UINT track, BOOL enable, DOUBLE startTime) = 0;
    virtual D3DXEVENTHANDLE KeyTrackSpeed(UINT track, FLOAT speed, DOUBLE startTime,
                                          DOUBLE duration, D3DXTRANSITION_TYPE transition) = 0;
    virtual D3DXEVENTHANDLE KeyTrackWeight(UINT track, FLOAT weight, DOUBLE startTime,
                                           DOUBLE duration, D3DXTRANSITION_TYPE transition) = 0;
    virtual HRESULT UnkeyAllTrackEvents(UINT track) = 0;
    // Moves global time on by `timeDelta` seconds (not negative): applies the events, moves
    // every track by time x its mean speed over the step, writes the blend of the enabled tracks
    // (weights above 0, normalised by their sum) into the outputs they animate, then hands
    // `handler` (when given) the callback keys each enabled track passed in [old position, new
    // position), in order, once for every pass.
    virtual HRESULT AdvanceTime(DOUBLE timeDelta, ID3DXAnimationCallbackHandler* handler) = 0;
    // Global time back to 0, keyed events kept at the same distance from it.
    virtual HRESULT ResetTime() = 0;
    virtual DOUBLE GetTime() = 0;
};
