#pragma once
// Internal to the Windows layer: SDL's events as the window messages of window_input.h.

union SDL_Event;

namespace win32_internal {

// Called by the event pump for every event, before the listeners have it: a button pressed in a
// window of ours that is not the active one activates it at once (ActivateForPress), before the
// input layer sees the press; the desktop reports the focus that follows a click only later.
void ActivateOnPress(const SDL_Event& event);

// Called by the event pump for every event, after the listeners had it.
void TranslateSdlEvent(const SDL_Event& event);

}  // namespace win32_internal
