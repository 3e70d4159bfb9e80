#include "platform/mci/cdio_log.h"

#include <cdio/logging.h>

#include <cstdio>
#include <mutex>

#include "platform/winbase/debug_output.h"

namespace mci_detail {
namespace {

// Warnings are left out: libcdio warns about harmless things in every disc image (pregaps
// shorter than two seconds, for one).
void ForwardCdioMessage(cdio_log_level_t level, const char* message) {
    if (level < CDIO_LOG_ERROR || message == nullptr) {
        return;
    }
    char line[512];
    std::snprintf(line, sizeof line, "libcdio: %s\n", message);
    OutputDebugStringA(line);
}

}  // namespace

void InstallCdioLogHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] { cdio_log_set_handler(ForwardCdioMessage); });
}

}  // namespace mci_detail
