#pragma once
// Saving and loading games: the game state packed into the save record (the "SCRM" block of the
// script VM and the game-mode stack), written to a slot by menu command or by the save point,
// and a slot loaded back into the running game. Log lines read "MODULE:FUNCTION: error. ..."
// with the module "saveload" or "script".

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/winbase/win_types.h"

// Fills the save record: with a title, the header is new (108, version 1, the title cut to 63
// bytes); the resume label is `label`, or when that is null or empty the label at or before the
// running frame's position, or empty; then the state. With `save` the record goes to slot 20
// (SaveToSlot(40270)) and that is the answer; otherwise true. False when the state cannot be
// taken ("saveload:PushGameData: error. GetScriptData").
bool PushGameData(const char* title, const char* label, bool save);
// Appends the "SCRM" block, the u32 count of the game-mode stack and one byte per mode (bottom
// first). False when the mode stack is empty.
bool GetScriptData(std::vector<std::uint8_t>& state);
// Checks a saved state without changing anything: its "SCRM" block whole and within the state
// with at least one script frame, then a mode count of at least 1 whose mode bytes follow
// within it. `consumed` gets the bytes
// it takes. False with the reason logged.
bool CheckScriptData(std::span<const std::uint8_t> state, std::size_t* consumed);
// Restores a saved state (only after CheckScriptData accepts it): the running frame of the
// block at position 0 with the saved globals and locals, the mode stack as one None under the
// Adventure mode, "se001" played, the load, save and title menu switches on, the music stopped
// and variable 11 = 0. The state just past what it took, or null when refused.
const std::uint8_t* SetScriptData(std::span<const std::uint8_t> state);

// Commands 40250..40270: the save record into slot (command - 40250), asking before it
// overwrites a used slot; boxes report the outcome except for 40270, the save point's silent
// save. A record without a game state (no save point passed and nothing loaded) is refused and
// nothing written. Other commands do nothing. True when the slot was written.
bool SaveToSlot(UINT command);
// Commands 40200..40220: slot (command - 40200) loaded into the running game, which resumes at
// the record's label with the system variables of slot 20. A slot that cannot be read or whose
// state is damaged shows "ゲームデータのロードに失敗しました。" and the game that runs goes on;
// a state whose script no longer loads shows it too and starts "start" at "restart". Other
// commands do nothing.
void LoadGameData(UINT command);

// The save and load state forgotten at the start of a run: the save record, the slot table and
// both histories.
void ForgetSavedGames();
