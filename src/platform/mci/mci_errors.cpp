#include <algorithm>
#include <cstring>

#include "platform/mci/mci.h"

namespace {

struct ErrorText {
    MCIERROR code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {MCIERR_INVALID_DEVICE_ID, "The device id is not that of an open device."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "A flag of the command is not known to the device."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The device does not know the command."},
    {MCIERR_HARDWARE, "The sound output cannot play the disc."},
    {MCIERR_INVALID_DEVICE_NAME, "There is no device of that type."},
    {MCIERR_MISSING_PARAMETER, "The command lacks a parameter it needs."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The device cannot do what the command asks."},
    {MCIERR_DEVICE_NOT_READY, "The drive holds no disc that can be read."},
    {MCIERR_OUTOFRANGE, "The position lies outside the disc."},
    {MCIERR_DEVICE_TYPE_REQUIRED, "The device type must be given."},
    {MCIERR_MUST_USE_SHAREABLE, "The drive is already open; open it shareable."},
    {MCIERR_BAD_TIME_FORMAT, "The device does not know the time format."},
    {MCIERR_INVALID_FILE, "The element is not the root of a CD-ROM drive."},
    {MCIERR_NULL_PARAMETER_BLOCK, "The command needs a parameter block."},
};

}  // namespace

BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT length) {
    const char* found = nullptr;
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == error) {
            found = entry.text;
        }
    }
    if (text != nullptr && length > 0) {
        const char* source = found != nullptr ? found : "";
        std::size_t count = std::min<std::size_t>(std::strlen(source), length - 1);
        std::memcpy(text, source, count);
        text[count] = '\0';
    }
    return found != nullptr ? TRUE : FALSE;
}
