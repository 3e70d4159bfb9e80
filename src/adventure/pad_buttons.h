#pragma once
// The pad button assigned to each input action of the game. The adventure frame, the UI window
// navigation and the title screen read the same map.

#include <cstdint>

// Input actions: 0 advance (and decide in UI windows), 1 window toggle (cancel in UI windows),
// 2 skip while held, 3 fast-forward toggle, 4 no adventure use.
constexpr int kPadActionCount = 5;

// The pad button number of `action` (0..4); the map starts as 0, 1, 2, 3, 4. An action outside
// 0..4 answers -1, which no button has.
std::int32_t GetPadButton(int action);
