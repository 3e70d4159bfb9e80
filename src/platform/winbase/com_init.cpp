// The per-thread count of COM initialisations.

#include "platform/winbase/com_init.h"

namespace {

thread_local int initializations = 0;

}  // namespace

HRESULT CoInitialize(LPVOID reserved) {
    if (reserved != nullptr) {
        return E_INVALIDARG;
    }
    ++initializations;
    return initializations == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initializations > 0) {
        --initializations;
    }
}

int Win32ComInitializationCount() {
    return initializations;
}
