#pragma once
// The script variables: one array of 32-bit words, the globals first, then the locals of every
// frame on the call stack from the oldest. Values are raw words; arithmetic reads them signed.

#include <cstdint>
#include <vector>

// Indices at or beyond this bound are never stored: reads give 0 and writes are dropped (with
// the same log line as a growth), so that an index from script data cannot exhaust memory.
constexpr std::uint32_t kMaxScriptVariables = 1u << 20;

extern std::vector<std::uint32_t> ScriptVariables;
// The variable array as it stood after the global script was loaded; empty until then.
extern std::vector<std::uint32_t> GlobalInitialValues;

std::uint32_t GetVarSlow(std::uint32_t index);

// An index past the end grows the array (new entries 0) and logs "GetVar: index(%d)".
inline std::uint32_t GetVar(std::uint32_t index) {
    if (index < ScriptVariables.size()) {
        return ScriptVariables[index];
    }
    return GetVarSlow(index);
}

// The same growth rule, with the line "SetVar: index(%d)".
void SetVar(std::uint32_t index, const std::uint32_t* value);

// Copies the initial values over the start of the array; nothing else changes.
void ResetGlobals();
