#pragma once
// The argument list of one built-in call as the functions read it: argument 0 is the value the
// script pushed first, and an argument is read only when the list is longer than its index;
// otherwise the caller's default applies. A variable reference reads its variable for every
// getter but Payload; the text of anything that is not a string reads as the empty text, never
// as a null pointer.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "script/script_value.h"

class ScriptArguments {
public:
    explicit ScriptArguments(const std::vector<ScriptValue*>& values) : values_(values) {}

    std::size_t Count() const { return values_.size(); }
    bool Has(std::size_t index) const {
        return index < values_.size() && values_[index] != nullptr;
    }
    // The value itself, or null when absent.
    const ScriptValue* Value(std::size_t index) const {
        return Has(index) ? values_[index] : nullptr;
    }

    const char* String(std::size_t index, const char* fallback = "") const;
    std::int32_t Long(std::size_t index, std::int32_t fallback) const;
    std::uint32_t ULong(std::size_t index, std::uint32_t fallback) const;
    std::uint16_t UShort(std::size_t index, std::uint16_t fallback) const;
    std::uint8_t UChar(std::size_t index, std::uint8_t fallback) const;
    double Float(std::size_t index, double fallback) const;
    // The raw payload: for an argument passed by reference, the number of the variable.
    std::uint32_t Payload(std::size_t index, std::uint32_t fallback) const;

private:
    const std::vector<ScriptValue*>& values_;
};

// One built-in function: true lets the script go on in this frame.
using BuiltinFunction = bool (*)(const ScriptArguments& arguments);
