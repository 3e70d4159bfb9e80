#pragma once
// The VM's operand value: a type code, a 32-bit payload, a text (strings only) and the operand
// class that steers the operators.

#include <cstddef>
#include <cstdint>
#include <string>

enum ScriptValueType : std::uint32_t {
    kScriptVoid = 0,
    kScriptBool = 1,
    kScriptChar = 2,
    kScriptUChar = 3,
    kScriptShort = 4,
    kScriptUShort = 5,
    kScriptInt = 6,
    kScriptLong = 7,
    kScriptULong = 8,
    kScriptFloat = 9,
    kScriptString = 10,
    kScriptVarRef = 11,
};

// Operand classes: void, integer (types 1..8 and string), float, variable reference.
enum ScriptOperandClass : std::uint32_t {
    kClassVoid = 0,
    kClassInteger = 7,
    kClassFloat = 9,
    kClassReference = 11,
};

// Operand tags of the code: 1..12; tag 12 names a local, made absolute with the frame's base.
constexpr std::uint8_t kTagLocal = 12;

struct ScriptValue {
    std::uint32_t type = kScriptVoid;
    std::uint32_t payload = 0xFFFFFFFFu;
    std::string text;
    std::uint32_t operandClass = kClassVoid;

    ScriptValue() = default;

    static ScriptValue MakeBool(std::uint8_t value);
    static ScriptValue MakeChar(std::int8_t value);
    static ScriptValue MakeUChar(std::uint8_t value);
    static ScriptValue MakeShort(std::int16_t value);
    static ScriptValue MakeUShort(std::uint16_t value);
    static ScriptValue MakeInt(std::int32_t value);
    static ScriptValue MakeLong(std::int32_t value);
    static ScriptValue MakeULong(std::uint32_t value);
    static ScriptValue MakeFloat(float value);
    static ScriptValue MakeString(const char* text);
    static ScriptValue MakeReference(std::uint32_t index);

    // Reads a code operand (tag byte, then its data) from `available` bytes. Tag 12 adds `base`
    // to the index. Returns the operand's length (tag included), or 0 when its data runs past
    // `available` (the value is then void). An unknown tag gives void with length 1.
    static std::size_t FromOperand(const std::uint8_t* operand, std::size_t available,
                                   std::uint32_t base, ScriptValue* out);

    // Length of a code operand's data for a tag (the string tag 10 answers 0; unknown tags 0).
    static std::size_t OperandDataWidth(std::uint8_t tag);

    // Typed getters: a variable reference reads its variable with GetVar first. No conversion
    // between integer and float except that GetFloat turns a referenced variable into a double.
    bool GetBool() const;
    std::int8_t GetChar() const;
    std::uint8_t GetUChar() const;
    std::int16_t GetShort() const;
    std::uint16_t GetUShort() const;
    std::int32_t GetInt() const;
    std::int32_t GetLong() const;
    std::uint32_t GetULong() const;
    double GetFloat() const;
    // The text; null for a variable reference.
    const char* GetString() const;
    std::uint32_t GetPayload() const { return payload; }

    bool IsReference() const { return type == kScriptVarRef; }
};

// The bits of a float as a payload and back.
std::uint32_t FloatBits(float value);
float BitsToFloat(std::uint32_t bits);
