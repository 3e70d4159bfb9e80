#include "platform/dsound/device_core.h"

#include <cstring>
#include <vector>

#include "platform/dsound/pcm_format.h"

namespace dsound_detail {
namespace {

WAVEFORMATEX DefaultPrimaryFormat() {
    return ToWaveFormat(MixFormat{2, 16, 4, 44100});
}

// Every device made, newest last, for the lookups below.
std::mutex devicesMutex;
std::vector<std::weak_ptr<DeviceCore>> devices;

template <typename Match>
std::shared_ptr<DeviceCore> NewestLiveDevice(Match match) {
    std::lock_guard lock(devicesMutex);
    for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
        std::shared_ptr<DeviceCore> core = it->lock();
        if (core && !core->retired() && match(*core)) {
            return core;
        }
    }
    return nullptr;
}

}  // namespace

DeviceCore::DeviceCore(const OutputTarget& target)
    : target_(target), mixer_(44100), primaryFormat_(DefaultPrimaryFormat()) {}

DeviceCore::~DeviceCore() {
    output_.reset();
}

std::shared_ptr<DeviceCore> DeviceCore::Create(const OutputTarget& target) {
    std::shared_ptr<DeviceCore> core(new DeviceCore(target));
    if (!target.null) {
        const char* name = target.sdlDeviceName ? target.sdlDeviceName->c_str() : nullptr;
        core->output_ = SdlAudioOutput::Open(name, core->mixer_, core->primaryFormat_);
        if (!core->output_) {
            return nullptr;
        }
    }
    std::lock_guard lock(devicesMutex);
    std::erase_if(devices, [](const auto& weak) { return weak.expired(); });
    devices.push_back(core);
    return core;
}

HRESULT DeviceCore::SetCooperativeLevel(HWND window, DWORD level) {
    if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    // The primary buffer has no memory of its own to write.
    if (level == DSSCL_WRITEPRIMARY) {
        return DSERR_UNSUPPORTED;
    }
    std::lock_guard lock(mutex_);
    cooperativeLevel_ = level;
    cooperativeWindow_ = window;
    return DS_OK;
}

DWORD DeviceCore::cooperativeLevel() const {
    std::lock_guard lock(mutex_);
    return cooperativeLevel_;
}

HWND DeviceCore::cooperativeWindow() const {
    std::lock_guard lock(mutex_);
    return cooperativeWindow_;
}

WAVEFORMATEX DeviceCore::primaryFormat() const {
    std::lock_guard lock(mutex_);
    return primaryFormat_;
}

HRESULT DeviceCore::SetPrimaryFormat(LPCWAVEFORMATEX format) {
    if (const HRESULT check = CheckPcmFormat(format); FAILED(check)) {
        return check;
    }
    std::lock_guard lock(mutex_);
    if (cooperativeLevel_ < DSSCL_PRIORITY) {
        return DSERR_PRIOLEVELNEEDED;
    }
    const WAVEFORMATEX wanted = ToWaveFormat(ToMixFormat(*format));
    if (std::memcmp(&wanted, &primaryFormat_, sizeof wanted) == 0) {
        return DS_OK;
    }
    if (!output_ || retired_) {
        primaryFormat_ = wanted;
        SetMixRate(wanted.nSamplesPerSec);
        return DS_OK;
    }
    // Closing waits for a running callback, which takes the mixer's lock: hold only ours.
    output_.reset();
    const char* name = target_.sdlDeviceName ? target_.sdlDeviceName->c_str() : nullptr;
    SetMixRate(wanted.nSamplesPerSec);
    output_ = SdlAudioOutput::Open(name, mixer_, wanted);
    if (output_) {
        primaryFormat_ = wanted;
        return DS_OK;
    }
    SetMixRate(primaryFormat_.nSamplesPerSec);
    output_ = SdlAudioOutput::Open(name, mixer_, primaryFormat_);
    return DSERR_BADFORMAT;
}

void DeviceCore::SetMixRate(DWORD rate) {
    std::lock_guard lock(mixer_.mutex());
    mixer_.SetOutputRateLocked(rate);
}

void DeviceCore::Retire() {
    std::unique_ptr<SdlAudioOutput> closing;
    {
        std::lock_guard lock(mutex_);
        retired_ = true;
        closing = std::move(output_);
    }
}

bool DeviceCore::retired() const {
    std::lock_guard lock(mutex_);
    return retired_;
}

std::shared_ptr<DeviceCore> NewestLiveNullDevice() {
    return NewestLiveDevice([](const DeviceCore& core) { return core.isNullDevice(); });
}

std::shared_ptr<DeviceCore> NewestLiveDeviceOfWindow(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    return NewestLiveDevice(
        [window](const DeviceCore& core) { return core.cooperativeWindow() == window; });
}

}  // namespace dsound_detail
