#pragma once
// Internal to the CD audio device: what the test controls reach of the open drives.

#include "platform/dsound/dsound.h"

namespace mci_detail {

// The sound device that plays the CD audio of drive `letter`, or null while it has none.
IDirectSound8* CdSoundDeviceOf(char letter);

}  // namespace mci_detail
