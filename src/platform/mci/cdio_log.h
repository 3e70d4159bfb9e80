#pragma once
// Internal to the CD audio device: libcdio's own messages go to the debugger output (errors
// only) instead of standard error.

namespace mci_detail {

// Installs the handler once; later calls do nothing.
void InstallCdioLogHandler();

}  // namespace mci_detail
