#include "platform/dinput/app_activation.h"

#include "platform/dinput/direct_input.h"

namespace {

bool appActive = true;
std::uint64_t deactivations = 0;

}  // namespace

void DInputSetAppActive(bool active) {
    if (appActive && !active) {
        ++deactivations;
    }
    appActive = active;
}

bool DInputIsAppActive() {
    return appActive;
}

std::uint64_t DInputDeactivationCount() {
    return deactivations;
}
