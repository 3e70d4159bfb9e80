#include "platform/win32/ui_hooks.h"

#include <atomic>

namespace win32_internal {
namespace {

std::atomic<const UiHooks*> installed{nullptr};

}  // namespace

void SetUiHooks(const UiHooks* hooks) {
    installed = hooks;
}

const UiHooks* GetUiHooks() {
    return installed.load();
}

}  // namespace win32_internal
