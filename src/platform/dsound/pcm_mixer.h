#pragma once
// Internal to the sound device: the mix of every playing voice into 16-bit stereo at the output
// rate, with the master volume of the primary buffer and the 3-D listener. One mutex guards
// the mixer and every voice attached to it; the output thread takes it for each mix, the
// buffers for each change. Calls named ...Locked expect the caller to hold it.

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/dsound/mix_voice.h"
#include "platform/dsound/voice_render.h"

namespace dsound_detail {

class PcmMixer {
public:
    explicit PcmMixer(DWORD outputRate);
    PcmMixer(const PcmMixer&) = delete;
    PcmMixer& operator=(const PcmMixer&) = delete;

    std::mutex& mutex() const { return mutex_; }

    void AttachLocked(MixVoice* voice);
    void DetachLocked(MixVoice* voice);

    DWORD outputRateLocked() const { return outputRate_; }
    void SetOutputRateLocked(DWORD rate) { outputRate_ = rate; }
    // Hundredths of a decibel, applied to every voice.
    LONG masterVolumeLocked() const { return masterVolume_; }
    void SetMasterVolumeLocked(LONG volume) { masterVolume_ = volume; }
    Placement3D& listenerLocked() { return listener_; }
    // An immediate change also replaces a deferred one, so that a commit does not undo it.
    void SetListenerPositionLocked(const D3DVECTOR& position);
    void SetPendingListenerPositionLocked(const D3DVECTOR& position);
    // Applies every deferred 3-D setting of the listener and the voices.
    void CommitDeferredLocked();
    // Frames mixed since the mixer was made.
    std::uint64_t framesMixedLocked() const { return framesMixed_; }

    // The gains of a voice with its volume, pan, the master volume and its 3-D distance.
    VoiceGains GainsForLocked(const MixVoice& voice) const;

    // Mixes the next `frames` frames into `out` (2 × frames samples, left first), clipped to
    // 16 bits, and moves every playing voice on.
    void Mix(std::int16_t* out, std::uint32_t frames);

private:
    mutable std::mutex mutex_;
    std::vector<MixVoice*> voices_;
    std::vector<std::int32_t> accumulator_;
    DWORD outputRate_;
    LONG masterVolume_ = DSBVOLUME_MAX;
    Placement3D listener_;
    D3DVECTOR pendingListenerPosition_{};
    bool hasPendingListener_ = false;
    std::uint64_t framesMixed_ = 0;
};

}  // namespace dsound_detail
