#pragma once
// The system variables: script variables 0..8, which outlive a play-through. Their lasting copy
// is the variable array of the state that the save point stores in save slot 20.

#include <cstdint>

constexpr std::uint32_t kSystemVariableCount = 9;

// Variables 0..8 from slot 20: only when its file reads, its state (unscrambled with slot 20's
// own key) holds an "SCRM" block whole, and that block holds at least 9 variables; otherwise
// nothing changes. True when they were set. A missing slot 20 logs nothing; a damaged one logs
// "saveload:LoadSystemVariables: error. ...".
bool LoadSystemVariables();
// Replaces variable `index` (every one of 0..8 when below 0) in slot 20's stored array by its
// current value and writes slot 20 back under its own key; only when the array holds that
// variable (or all nine). True when written.
bool SaveSystemVariables(std::int32_t index);
