#include "platform/dinput/input_backend.h"

#include "platform/dinput/sdl_input_backend.h"

namespace {

// Never destroyed at exit: the SDL backend's listener and joysticks belong to the Windows layer,
// which may be gone by then. Devices keep the state they read alive on their own.
InputBackend* installed = nullptr;

}  // namespace

InputBackend& CurrentInputBackend() {
    if (installed == nullptr) {
        installed = new SdlInputBackend();
    }
    return *installed;
}

void InstallInputBackend(std::unique_ptr<InputBackend> backend) {
    delete installed;
    installed = backend.release();
}
