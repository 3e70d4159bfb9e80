#include "platform/mci/mixer.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "platform/mci/cd_stream.h"
#include "platform/mci/mci_test.h"

namespace {

constexpr const char* kMixerName = "Software Mixer";
constexpr DWORD kObjectMask = 0xF0000000u;
constexpr DWORD kSpeakersLine = 0xFFFF0000u;
constexpr DWORD kCdLine = 0x00010000u;
constexpr DWORD kCdVolumeControl = 1;
constexpr DWORD kChannels = 2;
constexpr DWORD kLevelMaximum = 65535;

struct MixerState {
    bool present = true;
    std::set<std::uintptr_t> handles;
    std::uintptr_t nextHandle = 1;
};

MixerState& Mixer() {
    static MixerState* mixer = new MixerState;
    return *mixer;
}

void CopyName(char* field, std::size_t size, const char* name) {
    std::memset(field, 0, size);
    std::strncpy(field, name, size - 1);
}

// Whether `object`, named as `flags` say, is our one mixer.
MMRESULT CheckObject(HMIXEROBJ object, DWORD flags) {
    MixerState& mixer = Mixer();
    const auto value = reinterpret_cast<std::uintptr_t>(object);
    switch (flags & kObjectMask) {
        case MIXER_OBJECTF_MIXER:
            return mixer.present && value == 0 ? MMSYSERR_NOERROR : MMSYSERR_BADDEVICEID;
        case MIXER_OBJECTF_HMIXER:
            return mixer.handles.count(value) != 0 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
        default:
            return MMSYSERR_INVALFLAG;
    }
}

MIXERLINEA SpeakersLine() {
    MIXERLINEA line{};
    line.cbStruct = sizeof(line);
    line.dwLineID = kSpeakersLine;
    line.fdwLine = MIXERLINE_LINEF_ACTIVE;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    line.cChannels = kChannels;
    line.cConnections = 1;
    CopyName(line.szShortName, sizeof(line.szShortName), "Speakers");
    CopyName(line.szName, sizeof(line.szName), "Speakers");
    line.Target.dwType = MIXERLINE_TARGETTYPE_WAVEOUT;
    CopyName(line.Target.szPname, sizeof(line.Target.szPname), kMixerName);
    return line;
}

MIXERLINEA CdLine() {
    MIXERLINEA line{};
    line.cbStruct = sizeof(line);
    line.dwLineID = kCdLine;
    line.fdwLine = MIXERLINE_LINEF_ACTIVE | MIXERLINE_LINEF_SOURCE;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    line.cChannels = kChannels;
    line.cControls = 1;
    CopyName(line.szShortName, sizeof(line.szShortName), "CD Audio");
    CopyName(line.szName, sizeof(line.szName), "CD Audio");
    line.Target.dwType = MIXERLINE_TARGETTYPE_UNDEFINED;
    return line;
}

MIXERCONTROLA CdVolumeControl() {
    MIXERCONTROLA control{};
    control.cbStruct = sizeof(control);
    control.dwControlID = kCdVolumeControl;
    control.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    CopyName(control.szShortName, sizeof(control.szShortName), "Volume");
    CopyName(control.szName, sizeof(control.szName), "CD Volume");
    control.Bounds.dwMinimum = 0;
    control.Bounds.dwMaximum = kLevelMaximum;
    control.Metrics.cSteps = kLevelMaximum;
    return control;
}

// The checks shared by reading and setting the CD volume's values.
MMRESULT CheckDetails(HMIXEROBJ mixer, const MIXERCONTROLDETAILS* details, DWORD flags) {
    if (MMRESULT object = CheckObject(mixer, flags); object != MMSYSERR_NOERROR) {
        return object;
    }
    if ((flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE) {
        return MMSYSERR_NOTSUPPORTED;
    }
    if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) ||
        details->paDetails == nullptr ||
        details->cbDetails < sizeof(MIXERCONTROLDETAILS_UNSIGNED) || details->cChannels < 1 ||
        details->cChannels > kChannels || details->cMultipleItems != 0) {
        return MMSYSERR_INVALPARAM;
    }
    return details->dwControlID == kCdVolumeControl ? MMSYSERR_NOERROR : MIXERR_INVALCONTROL;
}

MIXERCONTROLDETAILS_UNSIGNED* Value(const MIXERCONTROLDETAILS& details, DWORD channel) {
    return reinterpret_cast<MIXERCONTROLDETAILS_UNSIGNED*>(static_cast<BYTE*>(details.paDetails) +
                                                           channel * details.cbDetails);
}

}  // namespace

UINT mixerGetNumDevs() {
    return Mixer().present ? 1 : 0;
}

MMRESULT mixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR /*callback*/, DWORD_PTR /*instance*/,
                   DWORD flags) {
    if (mixer == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *mixer = nullptr;
    if (flags != MIXER_OBJECTF_MIXER) {
        return MMSYSERR_INVALFLAG;
    }
    MixerState& state = Mixer();
    if (!state.present || id != 0) {
        return MMSYSERR_BADDEVICEID;
    }
    const std::uintptr_t handle = state.nextHandle++;
    state.handles.insert(handle);
    *mixer = reinterpret_cast<HMIXER>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER mixer) {
    return Mixer().handles.erase(reinterpret_cast<std::uintptr_t>(mixer)) != 0
               ? MMSYSERR_NOERROR
               : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetDevCapsA(UINT_PTR id, LPMIXERCAPSA caps, UINT size) {
    if (caps == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const DWORD kind = id == 0 ? MIXER_OBJECTF_MIXER : MIXER_OBJECTF_HMIXER;
    if (MMRESULT object = CheckObject(reinterpret_cast<HMIXEROBJ>(id), kind);
        object != MMSYSERR_NOERROR) {
        return object;
    }
    MIXERCAPSA full{};
    CopyName(full.szPname, sizeof(full.szPname), kMixerName);
    full.vDriverVersion = 0x0100;
    full.cDestinations = 1;
    std::memcpy(caps, &full, std::min<std::size_t>(size, sizeof(full)));
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags) {
    if (MMRESULT object = CheckObject(mixer, flags); object != MMSYSERR_NOERROR) {
        return object;
    }
    if (line == nullptr || line->cbStruct < sizeof(MIXERLINEA)) {
        return MMSYSERR_INVALPARAM;
    }
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
        case MIXER_GETLINEINFOF_DESTINATION:
            if (line->dwDestination != 0) {
                return MMSYSERR_INVALPARAM;
            }
            *line = SpeakersLine();
            return MMSYSERR_NOERROR;
        case MIXER_GETLINEINFOF_SOURCE:
            if (line->dwDestination != 0 || line->dwSource != 0) {
                return MMSYSERR_INVALPARAM;
            }
            *line = CdLine();
            return MMSYSERR_NOERROR;
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags) {
    if (MMRESULT object = CheckObject(mixer, flags); object != MMSYSERR_NOERROR) {
        return object;
    }
    if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ONEBYTYPE) {
        return MMSYSERR_NOTSUPPORTED;
    }
    if (controls == nullptr || controls->cbStruct < sizeof(MIXERLINECONTROLSA) ||
        controls->pamxctrl == nullptr || controls->cbmxctrl < sizeof(MIXERCONTROLA)) {
        return MMSYSERR_INVALPARAM;
    }
    if (controls->dwLineID != kCdLine && controls->dwLineID != kSpeakersLine) {
        return MIXERR_INVALLINE;
    }
    if (controls->dwLineID != kCdLine ||
        controls->dwControlType != MIXERCONTROL_CONTROLTYPE_VOLUME) {
        return MIXERR_INVALCONTROL;
    }
    *controls->pamxctrl = CdVolumeControl();
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (MMRESULT checked = CheckDetails(mixer, details, flags); checked != MMSYSERR_NOERROR) {
        return checked;
    }
    DWORD levels[kChannels];
    mci_detail::GetCdLineLevels(levels[0], levels[1]);
    for (DWORD channel = 0; channel < details->cChannels; ++channel) {
        Value(*details, channel)->dwValue = levels[channel];
    }
    return MMSYSERR_NOERROR;
}

MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (MMRESULT checked = CheckDetails(mixer, details, flags); checked != MMSYSERR_NOERROR) {
        return checked;
    }
    const DWORD left = std::min(Value(*details, 0)->dwValue, kLevelMaximum);
    const DWORD right =
        details->cChannels == 1 ? left : std::min(Value(*details, 1)->dwValue, kLevelMaximum);
    mci_detail::SetCdLineLevels(left, right);
    return MMSYSERR_NOERROR;
}

namespace mci_test {

void SetMixerPresent(bool present) {
    Mixer().present = present;
}

}  // namespace mci_test
