#pragma once
// Internal to the sound device: the output devices it can open, as the enumeration lists them.

#include <optional>
#include <string>
#include <vector>

#include "platform/dsound/device_core.h"

namespace dsound_detail {

struct OutputDriver {
    GUID guid;
    std::string description;
    std::string module;
};

// The drivers after the primary entry: "Null Audio Device" in null-device mode; else one per
// SDL output device (module: SDL's audio driver name), none when SDL audio is unavailable.
std::vector<OutputDriver> ListOutputDrivers();

// Where a device GUID leads: null or DSDEVID_DefaultPlayback is the default output; nothing
// for a GUID no driver has.
std::optional<OutputTarget> FindOutputTarget(const GUID* device);

// Test controls (dsound_test.h).
bool NullDeviceMode();
void SetNullDeviceMode(bool enabled);
HRESULT ForcedCreateFailure();
void SetForcedCreateFailure(HRESULT result);

}  // namespace dsound_detail
