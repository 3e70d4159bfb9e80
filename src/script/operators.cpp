#include "script/operators.h"

#include <cmath>
#include <limits>

#include "script/opcodes.h"
#include "script/script_variables.h"

namespace {

enum class NumberKind { kVoid, kInteger, kFloat };

struct Number {
    NumberKind kind = NumberKind::kVoid;
    std::int32_t integer = 0;
    double real = 0.0;

    double AsDouble() const {
        return kind == NumberKind::kFloat ? real : static_cast<double>(integer);
    }
    std::int32_t AsInt() const {
        return kind == NumberKind::kFloat ? TruncateToInt32(real) : integer;
    }
};

Number ReadNumber(const ScriptValue& value) {
    Number number;
    switch (value.operandClass) {
        case kClassInteger:
            number.kind = NumberKind::kInteger;
            number.integer = static_cast<std::int32_t>(value.payload);
            break;
        case kClassReference:
            number.kind = NumberKind::kInteger;
            number.integer = static_cast<std::int32_t>(GetVar(value.payload));
            break;
        case kClassFloat:
            number.kind = NumberKind::kFloat;
            number.real = static_cast<double>(BitsToFloat(value.payload));
            break;
        default:
            break;
    }
    return number;
}

std::int32_t Wrap(std::uint32_t bits) {
    return static_cast<std::int32_t>(bits);
}

std::int32_t Divide(std::int32_t a, std::int32_t b, bool remainder, ArithmeticFault* fault) {
    if (b == 0) {
        *fault = ArithmeticFault::kDivideByZero;
        return 0;
    }
    if (a == std::numeric_limits<std::int32_t>::min() && b == -1) {
        if (!remainder) {
            *fault = ArithmeticFault::kOverflow;
        }
        return 0;
    }
    return remainder ? a % b : a / b;
}

// The integer operators shared by integer operands and by floats taken as integers.
std::int32_t IntegerOperation(std::uint8_t sub, std::int32_t a, std::int32_t b,
                              ArithmeticFault* fault) {
    const auto ua = static_cast<std::uint32_t>(a);
    const auto ub = static_cast<std::uint32_t>(b);
    switch (sub) {
        case kOpMul:
            return Wrap(ua * ub);
        case kOpDiv:
            return Divide(a, b, false, fault);
        case kOpMod:
            return Divide(a, b, true, fault);
        case kOpAdd:
            return Wrap(ua + ub);
        case kOpSub:
            return Wrap(ua - ub);
        case kOpShl:
            return Wrap(ua << (ub & 31));
        case kOpShr:
            return a >> (ub & 31);
        case kOpBitAnd:
            return Wrap(ua & ub);
        case kOpBitXor:
            return Wrap(ua ^ ub);
        case kOpBitOr:
            return Wrap(ua | ub);
        default:
            return 0;
    }
}

bool IsComparison(std::uint8_t sub) {
    return sub >= kOpLess && sub <= kOpNotEqual;
}

template <typename T>
bool Compare(std::uint8_t sub, T a, T b) {
    switch (sub) {
        case kOpLess:
            return a < b;
        case kOpGreater:
            return a > b;
        case kOpLessEqual:
            return a <= b;
        case kOpGreaterEqual:
            return a >= b;
        case kOpEqual:
            return a == b;
        default:
            return a != b;
    }
}

// The word an assignment stores for a value; false when the value's type stores nothing.
bool StoredWord(const ScriptValue& value, std::uint32_t* word) {
    switch (value.type) {
        case kScriptBool:
        case kScriptUChar:
            *word = value.payload & 0xFF;
            return true;
        case kScriptChar:
            *word = static_cast<std::uint32_t>(static_cast<std::int8_t>(value.payload));
            return true;
        case kScriptShort:
            *word = static_cast<std::uint32_t>(static_cast<std::int16_t>(value.payload));
            return true;
        case kScriptUShort:
            *word = value.payload & 0xFFFF;
            return true;
        case kScriptInt:
        case kScriptLong:
        case kScriptULong:
            *word = value.payload;
            return true;
        case kScriptFloat:
            *word = static_cast<std::uint32_t>(
                TruncateToInt32(static_cast<double>(BitsToFloat(value.payload))));
            return true;
        case kScriptString:
            *word = static_cast<std::uint32_t>(value.text.size());
            return true;
        case kScriptVarRef:
            *word = GetVar(value.payload);
            return true;
        default:
            return false;
    }
}

// A value of type 1..8 narrowed to the target integer type.
ScriptValue NarrowInteger(std::uint32_t bits, std::uint8_t target) {
    switch (target) {
        case kScriptBool:
            return ScriptValue::MakeBool(bits != 0 ? 1 : 0);
        case kScriptChar:
            return ScriptValue::MakeChar(static_cast<std::int8_t>(bits));
        case kScriptUChar:
            return ScriptValue::MakeUChar(static_cast<std::uint8_t>(bits));
        case kScriptShort:
            return ScriptValue::MakeShort(static_cast<std::int16_t>(bits));
        case kScriptUShort:
            return ScriptValue::MakeUShort(static_cast<std::uint16_t>(bits));
        case kScriptInt:
            return ScriptValue::MakeInt(static_cast<std::int32_t>(bits));
        case kScriptLong:
            return ScriptValue::MakeLong(static_cast<std::int32_t>(bits));
        case kScriptULong:
            return ScriptValue::MakeULong(bits);
        default:
            return ScriptValue();
    }
}

}  // namespace

std::int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

void ApplyUnaryOperator(std::uint8_t sub, ScriptValue& top) {
    const Number number = ReadNumber(top);
    if (number.kind == NumberKind::kVoid) {
        top = ScriptValue();
        return;
    }
    switch (sub) {
        case kOpPostInc:
        case kOpPostDec:
        case kOpPreInc:
        case kOpPreDec: {
            if (!top.IsReference()) {
                top = ScriptValue();
                return;
            }
            const std::uint32_t old = GetVar(top.payload);
            const bool increment = sub == kOpPostInc || sub == kOpPreInc;
            const std::uint32_t updated = increment ? old + 1 : old - 1;
            SetVar(top.payload, &updated);
            if (sub == kOpPostInc || sub == kOpPostDec) {
                top = ScriptValue::MakeLong(static_cast<std::int32_t>(old));
            }
            return;
        }
        case kOpPlus:
            if (number.kind == NumberKind::kFloat) {
                top = ScriptValue::MakeFloat(BitsToFloat(top.payload));
            } else {
                top = ScriptValue::MakeLong(number.integer);
            }
            return;
        case kOpMinus:
            if (number.kind == NumberKind::kFloat) {
                top = ScriptValue::MakeFloat(-BitsToFloat(top.payload));
            } else {
                top = ScriptValue::MakeLong(Wrap(0u - static_cast<std::uint32_t>(number.integer)));
            }
            return;
        case kOpNot:
            if (number.kind == NumberKind::kFloat) {
                top = ScriptValue::MakeBool(number.real == 0.0 ? 1 : 0);
            } else {
                top = ScriptValue::MakeBool(number.integer == 0 ? 1 : 0);
            }
            return;
        case kOpBitNot:
            if (number.kind == NumberKind::kFloat) {
                top = ScriptValue::MakeFloat(static_cast<float>(~TruncateToInt32(number.real)));
            } else {
                top = ScriptValue::MakeLong(~number.integer);
            }
            return;
        default:
            top = ScriptValue();
            return;
    }
}

ScriptValue CastValue(const ScriptValue& value, std::uint8_t target) {
    if (target < kScriptBool || target > kScriptFloat) {
        return ScriptValue();
    }
    switch (value.type) {
        case kScriptBool:
        case kScriptChar:
        case kScriptUChar:
        case kScriptShort:
        case kScriptUShort:
        case kScriptInt:
        case kScriptLong:
        case kScriptULong: {
            std::int64_t source = 0;
            switch (value.type) {
                case kScriptBool:
                case kScriptUChar:
                    source = value.payload & 0xFF;
                    break;
                case kScriptChar:
                    source = static_cast<std::int8_t>(value.payload);
                    break;
                case kScriptShort:
                    source = static_cast<std::int16_t>(value.payload);
                    break;
                case kScriptUShort:
                    source = value.payload & 0xFFFF;
                    break;
                case kScriptULong:
                    source = value.payload;
                    break;
                default:
                    source = static_cast<std::int32_t>(value.payload);
                    break;
            }
            if (target == kScriptFloat) {
                return ScriptValue::MakeFloat(static_cast<float>(source));
            }
            return NarrowInteger(static_cast<std::uint32_t>(source), target);
        }
        case kScriptFloat: {
            const double real = static_cast<double>(BitsToFloat(value.payload));
            if (target == kScriptFloat) {
                return ScriptValue::MakeFloat(BitsToFloat(value.payload));
            }
            if (target == kScriptBool) {
                return ScriptValue::MakeBool(real != 0.0 ? 1 : 0);
            }
            return NarrowInteger(static_cast<std::uint32_t>(TruncateToInt32(real)), target);
        }
        case kScriptVarRef: {
            if (target == kScriptLong) {
                return value;
            }
            const auto variable = static_cast<std::int32_t>(GetVar(value.payload));
            if (target == kScriptFloat) {
                return ScriptValue::MakeFloat(static_cast<float>(variable));
            }
            return NarrowInteger(static_cast<std::uint32_t>(variable), target);
        }
        default:
            return ScriptValue();
    }
}

ScriptValue BinaryOperator(std::uint8_t sub, const ScriptValue& left, const ScriptValue& right,
                           ArithmeticFault* fault) {
    *fault = ArithmeticFault::kNone;
    const Number a = ReadNumber(left);
    const Number b = ReadNumber(right);
    if (a.kind == NumberKind::kVoid || b.kind == NumberKind::kVoid) {
        return ScriptValue();
    }
    if (a.kind == NumberKind::kFloat || b.kind == NumberKind::kFloat) {
        if (IsComparison(sub)) {
            return ScriptValue::MakeBool(Compare(sub, a.AsDouble(), b.AsDouble()) ? 1 : 0);
        }
        switch (sub) {
            case kOpMul:
                return ScriptValue::MakeFloat(static_cast<float>(a.AsDouble() * b.AsDouble()));
            case kOpDiv:
                return ScriptValue::MakeFloat(static_cast<float>(a.AsDouble() / b.AsDouble()));
            case kOpAdd:
                return ScriptValue::MakeFloat(static_cast<float>(a.AsDouble() + b.AsDouble()));
            case kOpSub:
                return ScriptValue::MakeFloat(static_cast<float>(a.AsDouble() - b.AsDouble()));
            default:
                return ScriptValue::MakeFloat(
                    static_cast<float>(IntegerOperation(sub, a.AsInt(), b.AsInt(), fault)));
        }
    }
    if (IsComparison(sub)) {
        return ScriptValue::MakeBool(Compare(sub, a.integer, b.integer) ? 1 : 0);
    }
    return ScriptValue::MakeLong(IntegerOperation(sub, a.integer, b.integer, fault));
}

ScriptValue AssignOperator(std::uint8_t sub, const ScriptValue& value, const ScriptValue& top,
                           ArithmeticFault* fault) {
    *fault = ArithmeticFault::kNone;
    if (!top.IsReference()) {
        return ScriptValue();
    }
    std::uint32_t word = 0;
    if (sub == kOpAssign) {
        if (!StoredWord(value, &word)) {
            return ScriptValue();
        }
    } else {
        const ScriptValue computed =
            BinaryOperator(CompoundAssignmentOperator(sub), top, value, fault);
        if (!StoredWord(computed, &word)) {
            return ScriptValue();
        }
    }
    SetVar(top.payload, &word);
    return top;
}
