#pragma once
// Internal to src/platform: the Windows layer owns SDL. It alone initialises SDL, keeps the SDL
// window behind each window handle that has one, and runs the single event pump. The other
// platform folders (d3d9, dinput, dsound) reach SDL's windows, events and subsystems through
// these calls. Nothing outside src/platform includes this header.

#include <cstdint>

#include "platform/winbase/win_types.h"

union SDL_Event;
struct SDL_Renderer;
struct SDL_Window;

// Initialises the SDL subsystems `flags` (SDL_INIT_VIDEO, SDL_INIT_AUDIO, ...) once for the
// process; true when they are available.
bool Win32InitSdl(std::uint32_t flags);

// The SDL window behind a window handle, or null when it has none (no display, as in tests).
SDL_Window* Win32GetSdlWindow(HWND window);
// The one renderer of an SDL window, which everything that shows pictures in the window (the
// Direct3D device's presentation, a movie) shares: made on first use (accelerated, else in
// software) and destroyed with the window, never by its users. Null when SDL cannot make one.
// From then on the window keeps its size when the desktop sizes the SDL window otherwise: the
// pictures are shown scaled to fit, and pointer positions come back through the same fit.
SDL_Renderer* Win32GetSdlRenderer(SDL_Window* window);

// The event pump hands every SDL event to the listeners, in the order they were added.
using Win32SdlEventListener = void (*)(const SDL_Event& event, void* context);
void Win32AddSdlEventListener(Win32SdlEventListener listener, void* context);
void Win32RemoveSdlEventListener(Win32SdlEventListener listener, void* context);

// Learns of every change of the active window (one of the program's windows gaining the
// desktop's focus, or null when the program lost it) before WM_ACTIVATEAPP and WM_ACTIVATE are
// posted; the input layer keeps its foreground state with it. Replaces the previous observer;
// null for none.
using Win32ActivationObserver = void (*)(HWND activeWindow);
void Win32SetActivationObserver(Win32ActivationObserver observer);

// The mouse button number of an SDL button (SDL_BUTTON_LEFT ...): 0 left, 1 right, 2 middle,
// 3 and 4 the side buttons; -1 for any other. Window messages and the mouse device both count
// buttons so.
int Win32MouseButtonOfSdl(std::uint8_t sdlButton);
