#include "platform/dsound/dsound_test.h"
#include "platform/dsound/output_drivers.h"
#include "platform/dsound/sound_device.h"

namespace dsound_test {
namespace {

std::vector<std::int16_t> MixOn(dsound_detail::DeviceCore& core, std::uint32_t frames) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    core.mixer().Mix(samples.data(), frames);
    return samples;
}

}  // namespace

void UseNullDevice(bool enabled) {
    dsound_detail::SetNullDeviceMode(enabled);
}

void SetCreateFailure(HRESULT result) {
    dsound_detail::SetForcedCreateFailure(result);
}

std::vector<std::int16_t> MixFrames(IDirectSound8* device, std::uint32_t frames) {
    auto* sound = dynamic_cast<dsound_detail::SoundDevice*>(device);
    if (sound == nullptr || !sound->core()->isNullDevice()) {
        return {};
    }
    return MixOn(*sound->core(), frames);
}

std::vector<std::int16_t> MixFrames(std::uint32_t frames) {
    std::shared_ptr<dsound_detail::DeviceCore> core = dsound_detail::NewestLiveNullDevice();
    if (!core) {
        return {};
    }
    return MixOn(*core, frames);
}

}  // namespace dsound_test
