#pragma once
// The operators of the interpreter on ScriptValues. The operand class decides: integer (7, a
// string taking part as -1), float (9) and variable reference (11, its variable as a signed
// 32-bit integer); any other class makes the result void.

#include <cstdint>

#include "script/script_value.h"

// What went wrong in an integer division or remainder; the result is then 0.
enum class ArithmeticFault {
    kNone,
    kDivideByZero,
    kOverflow,  // the smallest 32-bit integer divided by -1
};

// Truncates toward zero to 32 bits; NaN or a value out of range gives 0x80000000.
std::int32_t TruncateToInt32(double value);

// Unary sub-codes 0..7 on the top value, in place.
void ApplyUnaryOperator(std::uint8_t sub, ScriptValue& top);

// Cast (sub-code 8) to type 1..9.
ScriptValue CastValue(const ScriptValue& value, std::uint8_t target);

// Two-operand sub-codes 9..24: `left` is second from the top, `right` the top.
ScriptValue BinaryOperator(std::uint8_t sub, const ScriptValue& left, const ScriptValue& right,
                           ArithmeticFault* fault);

// Assignment sub-codes 28..38: the top is the reference, `value` second from the top. Writes the
// variable and returns the result that replaces the value: the reference, or void when the top
// is not a reference or nothing could be stored.
ScriptValue AssignOperator(std::uint8_t sub, const ScriptValue& value, const ScriptValue& top,
                           ArithmeticFault* fault);
