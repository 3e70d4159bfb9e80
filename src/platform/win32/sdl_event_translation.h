#pragma once
// Internal to the Windows layer: SDL's events as the window messages of window_input.h.

union SDL_Event;

namespace win32_internal {

// Called by the event pump for every event, after the listeners had it.
void TranslateSdlEvent(const SDL_Event& event);

}  // namespace win32_internal
