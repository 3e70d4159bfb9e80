#include "script/operand_stack.h"

ScriptValueStack OperandStack;
std::vector<ScriptValue*> ScriptArguments;

void ScriptValueStack::push(const ScriptValue& value) {
    pushSlot() = value;
}

ScriptValue& ScriptValueStack::pushSlot() {
    if (count_ == slots_.size()) {
        slots_.emplace_back();
    }
    return slots_[count_++];
}

void ScriptValueStack::clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    count_ = 0;
}
