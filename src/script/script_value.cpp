#include "script/script_value.h"

#include <cstring>

#include "foundation/byte_reader.h"
#include "script/script_variables.h"

std::uint32_t FloatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsToFloat(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

namespace {

ScriptValue Make(std::uint32_t type, std::uint32_t payload, std::uint32_t operandClass) {
    ScriptValue value;
    value.type = type;
    value.payload = payload;
    value.operandClass = operandClass;
    return value;
}

}  // namespace

ScriptValue ScriptValue::MakeBool(std::uint8_t value) {
    return Make(kScriptBool, value != 0 ? 1 : 0, kClassInteger);
}
ScriptValue ScriptValue::MakeChar(std::int8_t value) {
    return Make(kScriptChar, static_cast<std::uint32_t>(static_cast<std::int32_t>(value)),
                kClassInteger);
}
ScriptValue ScriptValue::MakeUChar(std::uint8_t value) {
    return Make(kScriptUChar, value, kClassInteger);
}
ScriptValue ScriptValue::MakeShort(std::int16_t value) {
    return Make(kScriptShort, static_cast<std::uint32_t>(static_cast<std::int32_t>(value)),
                kClassInteger);
}
ScriptValue ScriptValue::MakeUShort(std::uint16_t value) {
    return Make(kScriptUShort, value, kClassInteger);
}
ScriptValue ScriptValue::MakeInt(std::int32_t value) {
    return Make(kScriptInt, static_cast<std::uint32_t>(value), kClassInteger);
}
ScriptValue ScriptValue::MakeLong(std::int32_t value) {
    return Make(kScriptLong, static_cast<std::uint32_t>(value), kClassInteger);
}
ScriptValue ScriptValue::MakeULong(std::uint32_t value) {
    return Make(kScriptULong, value, kClassInteger);
}
ScriptValue ScriptValue::MakeFloat(float value) {
    return Make(kScriptFloat, FloatBits(value), kClassFloat);
}
ScriptValue ScriptValue::MakeString(const char* text) {
    ScriptValue value = Make(kScriptString, 0xFFFFFFFFu, kClassInteger);
    value.text = text != nullptr ? text : "";
    return value;
}
ScriptValue ScriptValue::MakeReference(std::uint32_t index) {
    return Make(kScriptVarRef, index, kClassReference);
}

std::size_t ScriptValue::OperandDataWidth(std::uint8_t tag) {
    switch (tag) {
        case 1:
        case 6:
        case 7:
        case 8:
        case 9:
        case 11:
        case 12:
            return 4;
        case 2:
        case 3:
            return 1;
        case 4:
        case 5:
            return 2;
        default:
            return 0;
    }
}

std::size_t ScriptValue::FromOperand(const std::uint8_t* operand, std::size_t available,
                                     std::uint32_t base, ScriptValue* out) {
    *out = ScriptValue();
    ByteReader reader(operand, available);
    const std::uint8_t tag = reader.U8();
    if (reader.Failed()) {
        return 0;
    }
    if (tag == kScriptString) {
        const std::string_view text = reader.TerminatedView(reader.Remaining());
        if (reader.Failed()) {
            return 0;
        }
        *out = MakeString(text.data());
        return reader.Position();
    }
    const std::size_t width = OperandDataWidth(tag);
    if (width == 0) {
        return 1;
    }
    // The data as one little-endian value of its width.
    std::uint32_t data = 0;
    switch (width) {
        case 1:
            data = reader.U8();
            break;
        case 2:
            data = reader.U16();
            break;
        default:
            data = reader.U32();
            break;
    }
    if (reader.Failed()) {
        return 0;
    }
    switch (tag) {
        case 1:
            *out = MakeBool(data != 0 ? 1 : 0);
            break;
        case 2:
            *out = MakeChar(static_cast<std::int8_t>(data));
            break;
        case 3:
            *out = MakeUChar(static_cast<std::uint8_t>(data));
            break;
        case 4:
            *out = MakeShort(static_cast<std::int16_t>(data));
            break;
        case 5:
            *out = MakeUShort(static_cast<std::uint16_t>(data));
            break;
        case 6:
            *out = MakeInt(static_cast<std::int32_t>(data));
            break;
        case 7:
            *out = MakeLong(static_cast<std::int32_t>(data));
            break;
        case 8:
            *out = MakeULong(data);
            break;
        case 9:
            *out = MakeFloat(BitsToFloat(data));
            break;
        case 11:
            *out = MakeReference(data);
            break;
        default:  // kTagLocal
            *out = MakeReference(data + base);
            break;
    }
    return 1 + width;
}

bool ScriptValue::GetBool() const {
    return IsReference() ? GetVar(payload) != 0 : (payload & 0xFF) != 0;
}
std::int8_t ScriptValue::GetChar() const {
    return static_cast<std::int8_t>(IsReference() ? GetVar(payload) : payload);
}
std::uint8_t ScriptValue::GetUChar() const {
    return static_cast<std::uint8_t>(IsReference() ? GetVar(payload) : payload);
}
std::int16_t ScriptValue::GetShort() const {
    return static_cast<std::int16_t>(IsReference() ? GetVar(payload) : payload);
}
std::uint16_t ScriptValue::GetUShort() const {
    return static_cast<std::uint16_t>(IsReference() ? GetVar(payload) : payload);
}
std::int32_t ScriptValue::GetInt() const {
    return static_cast<std::int32_t>(GetULong());
}
std::int32_t ScriptValue::GetLong() const {
    return static_cast<std::int32_t>(GetULong());
}
std::uint32_t ScriptValue::GetULong() const {
    return IsReference() ? GetVar(payload) : payload;
}
double ScriptValue::GetFloat() const {
    if (IsReference()) {
        return static_cast<double>(static_cast<std::int32_t>(GetVar(payload)));
    }
    return static_cast<double>(BitsToFloat(payload));
}
const char* ScriptValue::GetString() const {
    return IsReference() ? nullptr : text.c_str();
}
