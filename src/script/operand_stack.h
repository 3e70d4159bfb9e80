#pragma once
// The operand stack of the VM, shared by all frames: slots are reused, so pushing and popping
// allocates nothing once the stack has reached its working depth.

#include <cstdint>
#include <vector>

#include "script/script_value.h"

class ScriptValueStack {
public:
    // Copies all four fields into the next slot.
    void push(const ScriptValue& value);
    // The next slot, to be filled by the caller; the count rises by 1. Its old contents remain
    // until overwritten.
    ScriptValue& pushSlot();
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
