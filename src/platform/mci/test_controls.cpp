#include "platform/dsound/dsound_test.h"
#include "platform/mci/mci_devices.h"
#include "platform/mci/mci_test.h"

namespace mci_test {

std::vector<std::int16_t> MixCdFrames(char letter, std::uint32_t frames) {
    IDirectSound8* device = mci_detail::CdSoundDeviceOf(letter);
    std::vector<std::int16_t> samples =
        device != nullptr ? dsound_test::MixFrames(device, frames) : std::vector<std::int16_t>{};
    samples.resize(static_cast<std::size_t>(frames) * 2);
    return samples;
}

}  // namespace mci_test
