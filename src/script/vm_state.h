#pragma once
// The VM reset and the "SCRM" state block (CScript::GetData and CScript::SetData).
//
// Block layout (little-endian, unaligned): u32 size of the block, "SCRM", u32 V and V variable
// words, u32 G (number of globals), u32 S and S operands from the bottom (u8 class, u8 type,
// u32 payload, zero-terminated text), u32 F and F frames from the oldest (zero-terminated file
// name, u32 position), u8 wait flag.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kScriptStateMagic = 0x4D524353u;  // "SCRM"
// The smallest size word accepted; a block of no variables, operands or frames is 25 bytes.
constexpr std::uint32_t kScriptStateMinimumSize = 21;

// One "SCRM" block as stored.
struct ScriptStateBlock {
    struct Operand {
        std::uint8_t operandClass = 0;
        std::uint8_t type = 0;
        std::uint32_t payload = 0;
        std::string text;
    };
    struct Frame {
        std::string name;
        std::uint32_t position = 0;
    };
    std::uint32_t size = 0;  // the size word
    std::vector<std::uint32_t> variables;
    std::uint32_t globals = 0;  // at most variables.size()
    std::vector<Operand> operands;
    std::vector<Frame> frames;  // the oldest first
    std::uint8_t waitFlag = 0;
};

// Reads the block at `block` without changing the VM: a size word of at least 21 within the
// `available` bytes, the magic, every record within the size word and no more operands than
// kMaxOperandStackSize. A refused block logs the line CScript::SetData logs for it ("SetData:
// invalid arg. size(%d)" or "SetData: invalid header. (%08x)") and answers false.
bool ReadScriptStateBlock(const std::uint8_t* block, std::size_t available,
                          ScriptStateBlock* state);

// Globals back to their initial values, every frame released (last first), the operand stack
// cleared and the wait flag cleared.
void ScriptVmReset();

// Counts resets, so that a caller can tell that a hook reset the VM under it.
extern std::uint64_t ScriptVmResetCount;
