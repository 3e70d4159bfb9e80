#pragma once
// The VM reset and the "SCRM" state block (CScript::GetData and CScript::SetData).
//
// Block layout (little-endian, unaligned): u32 size of the block, "SCRM", u32 V and V variable
// words, u32 G (number of globals), u32 S and S operands from the bottom (u8 class, u8 type,
// u32 payload, zero-terminated text), u32 F and F frames from the oldest (zero-terminated file
// name, u32 position), u8 wait flag.

#include <cstdint>

constexpr std::uint32_t kScriptStateMagic = 0x4D524353u;  // "SCRM"

// Globals back to their initial values, every frame released (last first), the operand stack
// cleared and the wait flag cleared.
void ScriptVmReset();

// Counts resets, so that a caller can tell that a hook reset the VM under it.
extern std::uint64_t ScriptVmResetCount;
