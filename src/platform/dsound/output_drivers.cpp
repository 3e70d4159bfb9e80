#include "platform/dsound/output_drivers.h"

#include <SDL.h>

#include <atomic>

#include "platform/win32/sdl_host.h"

namespace dsound_detail {
namespace {

constexpr GUID kNullDeviceGuid = {0x51564E06, 0x5344, 0x4E44, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr DWORD kSdlDeviceGuidTag = 0x51564E10;

std::atomic<bool> nullDeviceMode{false};
std::atomic<HRESULT> forcedCreateFailure{S_OK};

GUID SdlDeviceGuid(int index) {
    const auto value = static_cast<std::uint32_t>(index);
    return GUID{kSdlDeviceGuidTag,
                0x5344,
                0x4E44,
                {0, 0, 0, 0, static_cast<BYTE>(value >> 24), static_cast<BYTE>(value >> 16),
                 static_cast<BYTE>(value >> 8), static_cast<BYTE>(value)}};
}

// The index of an SDL device GUID, or -1.
int SdlDeviceIndex(const GUID& guid) {
    const GUID first = SdlDeviceGuid(0);
    if (guid.Data1 != first.Data1 || guid.Data2 != first.Data2 || guid.Data3 != first.Data3 ||
        guid.Data4[0] != 0 || guid.Data4[1] != 0 || guid.Data4[2] != 0 || guid.Data4[3] != 0) {
        return -1;
    }
    const std::uint32_t index = (static_cast<std::uint32_t>(guid.Data4[4]) << 24) |
                                (static_cast<std::uint32_t>(guid.Data4[5]) << 16) |
                                (static_cast<std::uint32_t>(guid.Data4[6]) << 8) | guid.Data4[7];
    return index <= 0x7FFFFFFF ? static_cast<int>(index) : -1;
}

// SDL's output devices; a driver that only has a default device counts as one.
int SdlDeviceCount() {
    const int count = SDL_GetNumAudioDevices(0);
    return count > 0 ? count : 1;
}

}  // namespace

std::vector<OutputDriver> ListOutputDrivers() {
    if (NullDeviceMode()) {
        return {OutputDriver{kNullDeviceGuid, "Null Audio Device", "null"}};
    }
    std::vector<OutputDriver> drivers;
    if (!Win32InitSdl(SDL_INIT_AUDIO)) {
        return drivers;
    }
    const char* module = SDL_GetCurrentAudioDriver();
    const int devices = SDL_GetNumAudioDevices(0);
    if (devices <= 0) {
        drivers.push_back(OutputDriver{SdlDeviceGuid(0), "Default Sound Device",
                                       module != nullptr ? module : ""});
        return drivers;
    }
    for (int i = 0; i < devices; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        drivers.push_back(OutputDriver{SdlDeviceGuid(i), name != nullptr ? name : "",
                                       module != nullptr ? module : ""});
    }
    return drivers;
}

std::optional<OutputTarget> FindOutputTarget(const GUID* device) {
    const bool byDefault = device == nullptr || *device == DSDEVID_DefaultPlayback;
    if (NullDeviceMode()) {
        if (byDefault || *device == kNullDeviceGuid) {
            return OutputTarget{true, std::nullopt};
        }
        return std::nullopt;
    }
    if (byDefault) {
        return OutputTarget{false, std::nullopt};
    }
    const int index = SdlDeviceIndex(*device);
    if (index < 0 || !Win32InitSdl(SDL_INIT_AUDIO) || index >= SdlDeviceCount()) {
        return std::nullopt;
    }
    const char* name = SDL_GetNumAudioDevices(0) > 0 ? SDL_GetAudioDeviceName(index, 0) : nullptr;
    if (name == nullptr) {
        return OutputTarget{false, std::nullopt};
    }
    return OutputTarget{false, std::string(name)};
}

bool NullDeviceMode() {
    return nullDeviceMode.load();
}

void SetNullDeviceMode(bool enabled) {
    nullDeviceMode.store(enabled);
}

HRESULT ForcedCreateFailure() {
    return forcedCreateFailure.load();
}

void SetForcedCreateFailure(HRESULT result) {
    forcedCreateFailure.store(result);
}

}  // namespace dsound_detail
