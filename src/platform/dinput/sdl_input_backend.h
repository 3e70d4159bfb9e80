#pragma once
// The input backend of the program: the Windows layer's SDL event pump hands it every SDL event
// (keys, mouse, joystick changes, joysticks plugged and unplugged), and SDL's joystick calls give
// the pads attached before the first event. It reads no events itself.

#include <memory>

#include "platform/dinput/input_backend.h"

union SDL_Event;

class SdlInputBackend final : public InputBackend {
public:
    // Initialises SDL's joysticks through the Windows layer and registers the event listener.
    SdlInputBackend();
    ~SdlInputBackend() override;

    void RefreshPads() override;

    // The listener the event pump calls (`context` is the backend).
    static void OnSdlEvent(const SDL_Event& event, void* context);
    void HandleEvent(const SDL_Event& event);

private:
    struct Joysticks;

    void OpenJoystick(int deviceIndex);
    void CloseJoystick(int instanceId);
    PadId PadOf(int instanceId) const;

    bool joysticksAvailable_ = false;
    std::unique_ptr<Joysticks> joysticks_;
};
