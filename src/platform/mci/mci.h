#pragma once
// Our media control interface: the "cdaudio" device only. A device is opened on a CD-ROM drive
// ("D:\", see logical_drives.h) and plays a range of the disc's audio through our sound mixer as
// a 44.1 kHz stereo stream, whose gain is the compact-disc line of the audio mixer (mixer.h).
// Devices opened on the same drive share its disc, its play position and its playback.
//
// Every call is made on one thread, the one whose message loop runs: playback is fed by a
// window timer of that thread every 100 ms, and the end of a play is noticed there.

#include "platform/winbase/win_types.h"

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

// Commands.
constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_SET = 0x080D;
constexpr UINT MCI_STATUS = 0x0814;

// Flags of every command.
constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_FROM = 0x00000004;
constexpr DWORD MCI_TO = 0x00000008;

// MCI_OPEN flags.
constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;

// MCI_SET flags.
constexpr DWORD MCI_SET_TIME_FORMAT = 0x00000400;

// MCI_STATUS flags and items.
constexpr DWORD MCI_STATUS_ITEM = 0x00000100;
constexpr DWORD MCI_STATUS_POSITION = 2;
constexpr DWORD MCI_STATUS_NUMBER_OF_TRACKS = 3;

// Time formats. MSF (the default) is the address on the disc, with the first sector at
// 00:02:00; TMSF is the track and the minute, second and frame within it. 75 frames a second.
constexpr DWORD MCI_FORMAT_MSF = 2;
constexpr DWORD MCI_FORMAT_TMSF = 10;

constexpr DWORD MCI_MAKE_TMSF(DWORD track, DWORD minute, DWORD second, DWORD frame) {
    return (track & 0xFF) | (minute & 0xFF) << 8 | (second & 0xFF) << 16 | (frame & 0xFF) << 24;
}
constexpr DWORD MCI_TMSF_TRACK(DWORD tmsf) {
    return tmsf & 0xFF;
}
constexpr DWORD MCI_TMSF_MINUTE(DWORD tmsf) {
    return (tmsf >> 8) & 0xFF;
}
constexpr DWORD MCI_TMSF_SECOND(DWORD tmsf) {
    return (tmsf >> 16) & 0xFF;
}
constexpr DWORD MCI_TMSF_FRAME(DWORD tmsf) {
    return (tmsf >> 24) & 0xFF;
}
constexpr DWORD MCI_MAKE_MSF(DWORD minute, DWORD second, DWORD frame) {
    return (minute & 0xFF) | (second & 0xFF) << 8 | (frame & 0xFF) << 16;
}
constexpr DWORD MCI_MSF_MINUTE(DWORD msf) {
    return msf & 0xFF;
}
constexpr DWORD MCI_MSF_SECOND(DWORD msf) {
    return (msf >> 8) & 0xFF;
}
constexpr DWORD MCI_MSF_FRAME(DWORD msf) {
    return (msf >> 16) & 0xFF;
}

// The notification of a play with MCI_NOTIFY, posted to its callback window: wParam one of the
// MCI_NOTIFY_ codes, lParam the device id. A play that reaches its end is successful; one
// replaced by a new play is superseded; one ended by MCI_STOP or MCI_CLOSE is aborted; one whose
// sound output broke down failed.
constexpr UINT MM_MCINOTIFY = 0x03B9;
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;
constexpr WPARAM MCI_NOTIFY_FAILURE = 0x0008;

// Error codes.
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
constexpr MCIERROR MCIERR_MUST_USE_SHAREABLE = MCIERR_BASE + 35;
constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;

// Parameter blocks. dwCallback is the window that a notification goes to.
struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
};

// lpstrDeviceType "cdaudio" (any case); lpstrElementName the root of the drive ("d:\" or
// "D:"). The id of the opened device is returned in wDeviceID.
struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;
    LPCSTR lpstrDeviceType;
    LPCSTR lpstrElementName;
    LPCSTR lpstrAlias;
};

// Positions in the device's time format. Without MCI_FROM a play starts at the current
// position; without MCI_TO it goes on to the end of the disc.
struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
};

struct MCI_SET_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTimeFormat;
    DWORD dwAudio;
};

struct MCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
};

// MCI_OPEN (any id, MCI_OPEN_TYPE and MCI_OPEN_ELEMENT, optionally MCI_OPEN_SHAREABLE),
// MCI_SET (MCI_SET_TIME_FORMAT), MCI_STATUS (MCI_STATUS_ITEM: the number of tracks, or the
// position now heard), MCI_PLAY (MCI_FROM, MCI_TO, MCI_NOTIFY), MCI_STOP (the position stays
// where it was) and MCI_CLOSE (the playback of a drive ends with its last device). MCI_WAIT is
// accepted where the command finishes at once. 0 on success, else an MCIERR_ code.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);

// The text of an error code, cut to fit `length` characters with its terminator; FALSE (and an
// empty text) for a code that is not an MCI error.
BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT length);
