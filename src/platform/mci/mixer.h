#pragma once
// Our audio mixer: one mixer device, "Software Mixer", with one destination line (the speakers)
// whose one source line is the compact disc. That line has one volume control, two channels of
// 0..65535, which is the gain of the CD audio stream (mci.h) in our sound mixer: 65535 plays
// the disc as it is, 0 silences it. The level starts at 65535 and is kept for the whole
// process, as a system setting is. Calls are made on one thread.

#include "platform/winbase/mm_result.h"
#include "platform/winbase/win_types.h"

struct HMIXER__ {
    int unused;
};
using HMIXER = HMIXER__*;
using LPHMIXER = HMIXER*;
// A mixer id (0) or an open mixer handle, as the object flags below say.
using HMIXEROBJ = HMIXER;

constexpr MMRESULT MIXERR_BASE = 1024;
constexpr MMRESULT MIXERR_INVALLINE = MIXERR_BASE + 0;
constexpr MMRESULT MIXERR_INVALCONTROL = MIXERR_BASE + 1;

constexpr int MAXPNAMELEN = 32;
constexpr int MIXER_SHORT_NAME_CHARS = 16;
constexpr int MIXER_LONG_NAME_CHARS = 64;

// How the mixer object of a call is named.
constexpr DWORD MIXER_OBJECTF_HANDLE = 0x80000000u;
constexpr DWORD MIXER_OBJECTF_MIXER = 0x00000000u;
constexpr DWORD MIXER_OBJECTF_HMIXER = MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_MIXER;

// Line kinds.
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_FIRST = 0x00000000u;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = MIXERLINE_COMPONENTTYPE_DST_FIRST + 4;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_FIRST = 0x00001000u;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = MIXERLINE_COMPONENTTYPE_SRC_FIRST + 5;
constexpr DWORD MIXERLINE_LINEF_ACTIVE = 0x00000001u;
constexpr DWORD MIXERLINE_LINEF_SOURCE = 0x80000000u;
constexpr DWORD MIXERLINE_TARGETTYPE_UNDEFINED = 0;
constexpr DWORD MIXERLINE_TARGETTYPE_WAVEOUT = 1;

// mixerGetLineInfoA: which line the record names.
constexpr DWORD MIXER_GETLINEINFOF_DESTINATION = 0x00000000u;
constexpr DWORD MIXER_GETLINEINFOF_SOURCE = 0x00000001u;
constexpr DWORD MIXER_GETLINEINFOF_QUERYMASK = 0x0000000Fu;

// mixerGetLineControlsA: the one control of a line of a given kind.
constexpr DWORD MIXER_GETLINECONTROLSF_ONEBYTYPE = 0x00000002u;
constexpr DWORD MIXER_GETLINECONTROLSF_QUERYMASK = 0x0000000Fu;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001u;

// mixerGetControlDetailsA and mixerSetControlDetails: the values of a control.
constexpr DWORD MIXER_GETCONTROLDETAILSF_VALUE = 0x00000000u;
constexpr DWORD MIXER_GETCONTROLDETAILSF_QUERYMASK = 0x0000000Fu;
constexpr DWORD MIXER_SETCONTROLDETAILSF_VALUE = 0x00000000u;
constexpr DWORD MIXER_SETCONTROLDETAILSF_QUERYMASK = 0x0000000Fu;

using MMVERSION = UINT;

struct MIXERCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    DWORD fdwSupport;
    DWORD cDestinations;
};
using LPMIXERCAPSA = MIXERCAPSA*;

// cbStruct must be set by the caller; DESTINATION reads dwDestination, SOURCE reads
// dwDestination and dwSource.
struct MIXERLINEA {
    DWORD cbStruct;
    DWORD dwDestination;
    DWORD dwSource;
    DWORD dwLineID;
    DWORD fdwLine;
    DWORD_PTR dwUser;
    DWORD dwComponentType;
    DWORD cChannels;
    DWORD cConnections;
    DWORD cControls;
    CHAR szShortName[MIXER_SHORT_NAME_CHARS];
    CHAR szName[MIXER_LONG_NAME_CHARS];
    struct {
        DWORD dwType;
        DWORD dwDeviceID;
        WORD wMid;
        WORD wPid;
        MMVERSION vDriverVersion;
        CHAR szPname[MAXPNAMELEN];
    } Target;
};
using LPMIXERLINEA = MIXERLINEA*;

struct MIXERCONTROLA {
    DWORD cbStruct;
    DWORD dwControlID;
    DWORD dwControlType;
    DWORD fdwControl;
    DWORD cMultipleItems;
    CHAR szShortName[MIXER_SHORT_NAME_CHARS];
    CHAR szName[MIXER_LONG_NAME_CHARS];
    union {
        struct {
            LONG lMinimum;
            LONG lMaximum;
        };
        struct {
            DWORD dwMinimum;
            DWORD dwMaximum;
        };
        DWORD dwReserved[6];
    } Bounds;
    union {
        DWORD cSteps;
        DWORD cbCustomData;
        DWORD dwReserved[6];
    } Metrics;
};
using LPMIXERCONTROLA = MIXERCONTROLA*;

// ONEBYTYPE: dwLineID and dwControlType name the control; cControls is 1 and pamxctrl holds
// one record of cbmxctrl bytes.
struct MIXERLINECONTROLSA {
    DWORD cbStruct;
    DWORD dwLineID;
    union {
        DWORD dwControlID;
        DWORD dwControlType;
    };
    DWORD cControls;
    DWORD cbmxctrl;
    LPMIXERCONTROLA pamxctrl;
};
using LPMIXERLINECONTROLSA = MIXERLINECONTROLSA*;

// cChannels 1 reads the first channel and sets all of them alike; cChannels 2 one value each.
// paDetails holds cChannels records of cbDetails bytes.
struct MIXERCONTROLDETAILS {
    DWORD cbStruct;
    DWORD dwControlID;
    DWORD cChannels;
    union {
        HWND hwndOwner;
        DWORD cMultipleItems;
    };
    DWORD cbDetails;
    LPVOID paDetails;
};
using LPMIXERCONTROLDETAILS = MIXERCONTROLDETAILS*;

struct MIXERCONTROLDETAILS_UNSIGNED {
    DWORD dwValue;
};

// The number of mixer devices: 1 (0 while a test takes the mixer away).
UINT mixerGetNumDevs();
// Opens mixer `id` (0) with MIXER_OBJECTF_MIXER; no callbacks.
MMRESULT mixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT mixerClose(HMIXER mixer);
// `id` is a mixer id or an open handle.
MMRESULT mixerGetDevCapsA(UINT_PTR id, LPMIXERCAPSA caps, UINT size);
MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
// Values beyond the control's bounds are taken as the nearest bound.
MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
