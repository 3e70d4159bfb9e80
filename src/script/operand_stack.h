#pragma once
// The operand stack of the VM, shared by all frames: slots are reused, so pushing and popping
// allocates nothing once the stack has reached its working depth.

#include <cstdint>
#include <vector>

#include "script/script_value.h"

// Operands the stack holds at most. A frame's own operands are an expression under evaluation
// and the arguments of a built-in call (at most 255, the call's count is a byte); a call file
// leaves the caller's operands under the callee's. So even the deepest call stack
// (kMaxScriptCallDepth, 1024 frames) with each frame holding a whole call's arguments and its
// value stays within 1024 x 256 = 2^18; the slots then take some 12 MiB. Only a script that
// pushes without end (a loop that never pops) reaches it.
constexpr std::uint32_t kMaxOperandStackSize = 1u << 18;

class ScriptValueStack {
public:
    // Copies all four fields into the next slot; the stack must not be full().
    void push(const ScriptValue& value);
    // The next slot, to be filled by the caller; the count rises by 1. Its old contents remain
    // until overwritten. The stack must not be full().
    ScriptValue& pushSlot();
    // Whether kMaxOperandStackSize operands are on the stack: a push is refused by its caller.
    bool full() const { return count_ >= kMaxOperandStackSize; }
    // Lowers the count by n, never below 0; the slots keep their contents.
    void pop(std::uint32_t n) { count_ = n > count_ ? 0 : count_ - n; }
    // The slot at count - n: n = 1 is the top. n must be 1..size().
    ScriptValue& nth(std::uint32_t n) { return slots_[count_ - n]; }
    const ScriptValue& nth(std::uint32_t n) const { return slots_[count_ - n]; }
    bool empty() const { return count_ == 0; }
    std::uint32_t size() const { return count_; }
    // Destroys the slots.
    void clear();

private:
    std::vector<ScriptValue> slots_;
    std::uint32_t count_ = 0;
};

extern ScriptValueStack OperandStack;

// The argument list of the built-in call being made: element i points at the i-th argument in
// push order (element 0 the deepest). The values stay on the operand stack during the call.
extern std::vector<ScriptValue*> ScriptArguments;
