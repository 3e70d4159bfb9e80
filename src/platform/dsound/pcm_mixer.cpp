#include "platform/dsound/pcm_mixer.h"

#include <algorithm>
#include <cmath>

namespace dsound_detail {
namespace {

// Inverse-distance attenuation of a 3-D voice: 1 within the minimum distance, min / distance
// beyond it, held at the maximum distance.
double DistanceFactor(const Placement3D& voice, const Placement3D& listener) {
    const double dx = static_cast<double>(voice.position.x) - listener.position.x;
    const double dy = static_cast<double>(voice.position.y) - listener.position.y;
    const double dz = static_cast<double>(voice.position.z) - listener.position.z;
    const double distance =
        std::min(std::sqrt(dx * dx + dy * dy + dz * dz), static_cast<double>(voice.maxDistance));
    if (distance <= voice.minDistance) {
        return 1.0;
    }
    return voice.minDistance / distance;
}

}  // namespace

PcmMixer::PcmMixer(DWORD outputRate) : outputRate_(outputRate) {}

void PcmMixer::AttachLocked(MixVoice* voice) {
    voices_.push_back(voice);
}

void PcmMixer::DetachLocked(MixVoice* voice) {
    std::erase(voices_, voice);
}

void PcmMixer::SetListenerPositionLocked(const D3DVECTOR& position) {
    listener_.position = position;
    pendingListenerPosition_ = position;
}

void PcmMixer::SetPendingListenerPositionLocked(const D3DVECTOR& position) {
    pendingListenerPosition_ = position;
    hasPendingListener_ = true;
}

void PcmMixer::CommitDeferredLocked() {
    if (hasPendingListener_) {
        listener_.position = pendingListenerPosition_;
        hasPendingListener_ = false;
    }
    for (MixVoice* voice : voices_) {
        if (voice->hasPendingPlacement) {
            voice->placement = voice->pendingPlacement;
            voice->hasPendingPlacement = false;
        }
    }
}

VoiceGains PcmMixer::GainsForLocked(const MixVoice& voice) const {
    const double level = static_cast<double>(voice.volume) + masterVolume_;
    const double left = level - std::max<LONG>(voice.pan, 0);
    const double right = level + std::min<LONG>(voice.pan, 0);
    VoiceGains gains{GainFromHundredthsDb(left), GainFromHundredthsDb(right)};
    if ((voice.capabilities & DSBCAPS_CTRL3D) != 0) {
        const double factor = DistanceFactor(voice.placement, listener_);
        gains.left = static_cast<std::int32_t>(std::lround(gains.left * factor));
        gains.right = static_cast<std::int32_t>(std::lround(gains.right * factor));
    }
    return gains;
}

void PcmMixer::Mix(std::int16_t* out, std::uint32_t frames) {
    std::lock_guard lock(mutex_);
    accumulator_.assign(static_cast<std::size_t>(frames) * 2, 0);
    for (MixVoice* voice : voices_) {
        if (voice->playing) {
            RenderVoice(*voice, ResampleStep(voice->frequency, outputRate_), GainsForLocked(*voice),
                        accumulator_.data(), frames);
        }
    }
    for (std::size_t i = 0; i < accumulator_.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(accumulator_[i], -32768, 32767));
    }
    framesMixed_ += frames;
}

}  // namespace dsound_detail
