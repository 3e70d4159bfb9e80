#pragma once
// Script frames and the call stack: loading scripts as frames, sharing script objects between
// frames of one file, their locals on the variable array, and the queries the game makes.

#include <cstdint>
#include <memory>
#include <vector>

#include "script/script_file.h"

struct ScriptFrame {
    // Position of the next instruction; kNoPosition when not set.
    std::uint32_t pos = kNoPosition;
    // Holds one reference.
    CScript* script = nullptr;
    // Index in the variable array of this frame's first local.
    std::uint32_t base = kNoPosition;

    const char* GetScriptName() const;
    // The label at or before the frame's position (the save code's resume label); may be null.
    const char* GetLabelName() const;
    std::int32_t GetCallSiteIndex(std::uint32_t number) const;
};

// The running frame is the last.
extern std::vector<std::unique_ptr<ScriptFrame>> ScriptCallStack;

// Set when a script meets an error that skips or ends some of its code: a file that does not
// load, a refused instruction, a frame ended by an error. Cleared when a script next loads or
// hands a message or a built-in call to the game, and by a VM reset. A call stack that empties
// while it is set was ended by that error, not by the story's own end.
extern bool ScriptErrorPending;

// Loads the script as a new frame at the label (null: the start) and calls the game's
// PushGameMode on success.
bool Load(const char* path, const char* label);
// Loads the global script once at start-up and keeps the variable array as the globals'
// initial values.
bool LoadGlobal(const char* path);
// Fills `frame` and moves it onto the call stack; a file already running is shared, never read
// again. On failure `frame` stays with the caller and nothing changed.
bool LoadCode(std::unique_ptr<ScriptFrame>& frame, const char* path, const char* label);

// Appends the script's local initial values to the variable array; returns their number.
std::uint32_t PushLocals(const CScript* script);
// Removes the frame's own locals [base, base + count) and lowers the base of every frame above
// that was stacked on them; returns the number removed.
std::uint32_t SubLocal(const ScriptFrame& frame);
// Removes the frame from the call stack (its locals and its script reference go with it).
void ReleaseFrame(ScriptFrame* frame);

bool IsScriptStackEmpty();
ScriptFrame* CurrentFrame();
// The running frame's file name; null when no script runs.
const char* CurrentScriptName();
std::int32_t CurrentCallSiteIndex(std::uint32_t number);
// Moves the running frame to a label of its script; kNoPosition (frame unchanged) when missing
// or when no script runs.
std::uint32_t JumpToLabel(const char* name);
