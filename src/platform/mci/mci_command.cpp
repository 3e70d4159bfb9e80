#include <strings.h>

#include <cctype>
#include <map>
#include <memory>

#include "platform/mci/cd_disc.h"
#include "platform/mci/cd_stream.h"
#include "platform/mci/drive_table.h"
#include "platform/mci/mci.h"
#include "platform/mci/mci_devices.h"
#include "platform/win32/message_api.h"

namespace mci_detail {
namespace {

// One drive with at least one device open on it.
struct DriveSession {
    std::unique_ptr<CdDisc> disc;
    std::unique_ptr<CdStream> stream;  // made by the first play
    int devices = 0;
    bool shareable = true;  // every device was opened shareable
    // The play that waits to notify, if any.
    HWND notifyWindow = nullptr;
    MCIDEVICEID notifyDevice = 0;
};

struct OpenDevice {
    char letter;
    DWORD timeFormat = MCI_FORMAT_MSF;
};

struct MciState {
    std::map<char, std::unique_ptr<DriveSession>> drives;
    std::map<MCIDEVICEID, OpenDevice> devices;
    MCIDEVICEID nextId = 1;  // ids are never reused, so a late notification names a closed one
};

MciState& State() {
    static MciState* state = new MciState;
    return *state;
}

void Notify(DriveSession& drive, WPARAM code) {
    if (drive.notifyWindow != nullptr) {
        PostMessageA(drive.notifyWindow, MM_MCINOTIFY, code,
                     static_cast<LPARAM>(drive.notifyDevice));
    }
    drive.notifyWindow = nullptr;
    drive.notifyDevice = 0;
}

std::int32_t PositionOf(const DriveSession& drive) {
    return drive.stream ? drive.stream->Position() : drive.disc->Tracks().Start(1);
}

bool HasOnly(DWORD_PTR flags, DWORD allowed) {
    return (flags & ~static_cast<DWORD_PTR>(allowed)) == 0;
}

MCIERROR Open(DWORD_PTR flags, MCI_OPEN_PARMSA* parameters) {
    if (parameters == nullptr) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    if (!HasOnly(flags, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE | MCI_WAIT)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if ((flags & MCI_OPEN_TYPE) == 0) {
        return MCIERR_DEVICE_TYPE_REQUIRED;
    }
    if (parameters->lpstrDeviceType == nullptr ||
        strcasecmp(parameters->lpstrDeviceType, "cdaudio") != 0) {
        return MCIERR_INVALID_DEVICE_NAME;
    }
    if ((flags & MCI_OPEN_ELEMENT) == 0) {
        return MCIERR_MISSING_PARAMETER;
    }
    const char letter = DriveLetterOfRoot(parameters->lpstrElementName);
    const std::optional<DriveSource> source = FindCdDrive(letter);
    if (!source) {
        return MCIERR_INVALID_FILE;
    }
    const bool shareable = (flags & MCI_OPEN_SHAREABLE) != 0;
    MciState& state = State();
    std::unique_ptr<DriveSession>& drive = state.drives[letter];
    if (drive) {
        if (!shareable || !drive->shareable) {
            return MCIERR_MUST_USE_SHAREABLE;
        }
    } else {
        std::unique_ptr<CdDisc> disc = CdDisc::Open(*source);
        if (!disc) {
            state.drives.erase(letter);
            return MCIERR_DEVICE_NOT_READY;
        }
        drive = std::make_unique<DriveSession>();
        drive->disc = std::move(disc);
        drive->shareable = shareable;
    }
    ++drive->devices;
    const MCIDEVICEID id = state.nextId++;
    state.devices[id] = OpenDevice{letter};
    parameters->wDeviceID = id;
    return 0;
}

MCIERROR Close(MCIDEVICEID id, DWORD_PTR flags) {
    if (!HasOnly(flags, MCI_WAIT)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    MciState& state = State();
    const char letter = state.devices.at(id).letter;
    DriveSession& drive = *state.drives.at(letter);
    if (drive.notifyDevice == id) {
        Notify(drive, MCI_NOTIFY_ABORTED);
    }
    state.devices.erase(id);
    if (--drive.devices == 0) {
        state.drives.erase(letter);  // the stream stops with it
    }
    return 0;
}

MCIERROR Set(OpenDevice& device, DWORD_PTR flags, const MCI_SET_PARMS* parameters) {
    if (parameters == nullptr) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    if (!HasOnly(flags, MCI_SET_TIME_FORMAT | MCI_WAIT)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if ((flags & MCI_SET_TIME_FORMAT) == 0) {
        return MCIERR_MISSING_PARAMETER;
    }
    if (parameters->dwTimeFormat != MCI_FORMAT_MSF && parameters->dwTimeFormat != MCI_FORMAT_TMSF) {
        return MCIERR_BAD_TIME_FORMAT;
    }
    device.timeFormat = parameters->dwTimeFormat;
    return 0;
}

MCIERROR Status(const OpenDevice& device, DriveSession& drive, DWORD_PTR flags,
                MCI_STATUS_PARMS* parameters) {
    if (parameters == nullptr) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    if (!HasOnly(flags, MCI_STATUS_ITEM | MCI_WAIT)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if ((flags & MCI_STATUS_ITEM) == 0) {
        return MCIERR_MISSING_PARAMETER;
    }
    const TrackTable& tracks = drive.disc->Tracks();
    switch (parameters->dwItem) {
        case MCI_STATUS_NUMBER_OF_TRACKS:
            parameters->dwReturn = static_cast<DWORD_PTR>(tracks.Count());
            return 0;
        case MCI_STATUS_POSITION:
            parameters->dwReturn = SectorToPosition(device.timeFormat, PositionOf(drive), tracks);
            return 0;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR Play(MCIDEVICEID id, const OpenDevice& device, DriveSession& drive, DWORD_PTR flags,
              const MCI_PLAY_PARMS* parameters) {
    if (!HasOnly(flags, MCI_FROM | MCI_TO | MCI_NOTIFY)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (parameters == nullptr && flags != 0) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    const TrackTable& tracks = drive.disc->Tracks();
    std::optional<std::int32_t> from = PositionOf(drive);
    std::optional<std::int32_t> to = tracks.leadout;
    if ((flags & MCI_FROM) != 0) {
        from = PositionToSector(device.timeFormat, parameters->dwFrom, tracks);
    }
    if ((flags & MCI_TO) != 0) {
        to = PositionToSector(device.timeFormat, parameters->dwTo, tracks);
    }
    if (!from || !to || *from >= *to) {
        return MCIERR_OUTOFRANGE;
    }
    if (!drive.stream) {
        DriveSession* session = &drive;
        drive.stream = CdStream::Create(*drive.disc, [session](bool reachedEnd) {
            Notify(*session, reachedEnd ? MCI_NOTIFY_SUCCESSFUL : MCI_NOTIFY_FAILURE);
        });
        if (!drive.stream) {
            return MCIERR_HARDWARE;
        }
    }
    Notify(drive, MCI_NOTIFY_SUPERSEDED);
    if (!drive.stream->Play(*from, *to)) {
        drive.stream->Stop();
        return MCIERR_HARDWARE;
    }
    if ((flags & MCI_NOTIFY) != 0) {
        drive.notifyWindow = reinterpret_cast<HWND>(parameters->dwCallback);
        drive.notifyDevice = id;
    }
    return 0;
}

MCIERROR Stop(DriveSession& drive, DWORD_PTR flags) {
    if (!HasOnly(flags, MCI_WAIT)) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (drive.stream) {
        drive.stream->Stop();
    }
    Notify(drive, MCI_NOTIFY_ABORTED);
    return 0;
}

}  // namespace

IDirectSound8* CdSoundDeviceOf(char letter) {
    MciState& state = State();
    auto found =
        state.drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (found == state.drives.end() || !found->second->stream) {
        return nullptr;
    }
    return found->second->stream->SoundDevice();
}

}  // namespace mci_detail

MCIERROR mciSendCommandA(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    using namespace mci_detail;
    if (message == MCI_OPEN) {
        return Open(flags, reinterpret_cast<MCI_OPEN_PARMSA*>(parameters));
    }
    MciState& state = State();
    auto found = state.devices.find(id);
    if (found == state.devices.end()) {
        return MCIERR_INVALID_DEVICE_ID;
    }
    OpenDevice& device = found->second;
    DriveSession& drive = *state.drives.at(device.letter);
    switch (message) {
        case MCI_CLOSE:
            return Close(id, flags);
        case MCI_SET:
            return Set(device, flags, reinterpret_cast<const MCI_SET_PARMS*>(parameters));
        case MCI_STATUS:
            return Status(device, drive, flags, reinterpret_cast<MCI_STATUS_PARMS*>(parameters));
        case MCI_PLAY:
            return Play(id, device, drive, flags,
                        reinterpret_cast<const MCI_PLAY_PARMS*>(parameters));
        case MCI_STOP:
            return Stop(drive, flags);
        default:
            return MCIERR_UNRECOGNIZED_COMMAND;
    }
}
