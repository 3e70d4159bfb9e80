#pragma once
// Where our DirectInput gets its input: a backend feeds an InputState that the devices read. The
// default backend is fed by the Windows layer's SDL event pump and SDL's joysticks
// (sdl_input_backend.h); tests install one they drive by hand (test_input_backend.h).

#include <memory>

#include "platform/dinput/input_state.h"

class InputBackend {
public:
    virtual ~InputBackend() = default;
    InputBackend(const InputBackend&) = delete;
    InputBackend& operator=(const InputBackend&) = delete;

    // Devices keep the state alive while they exist, even when the backend is replaced.
    const std::shared_ptr<InputState>& State() const { return state_; }

    // Brings the list of attached pads up to date before devices are listed or created.
    virtual void RefreshPads() = 0;

protected:
    InputBackend() : state_(std::make_shared<InputState>()) {}

private:
    std::shared_ptr<InputState> state_;
};

// The installed backend; the SDL backend is made on first use when none was installed.
InputBackend& CurrentInputBackend();
// Replaces the installed backend (null: the SDL backend is made again on next use).
void InstallInputBackend(std::unique_ptr<InputBackend> backend);
