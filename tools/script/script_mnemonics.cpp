#include "tools/script/script_mnemonics.h"

#include <array>

#include "script/opcodes.h"

namespace {

struct OperatorEntry {
    std::uint8_t sub;
    std::string_view name;
    std::string_view symbol;
};

constexpr std::array<OperatorEntry, 36> kOperators = {{
    {kOpPostInc, "postinc", "x++"},
    {kOpPostDec, "postdec", "x--"},
    {kOpPreInc, "preinc", "++x"},
    {kOpPreDec, "predec", "--x"},
    {kOpPlus, "plus", "+x"},
    {kOpMinus, "neg", "-x"},
    {kOpNot, "not", "!"},
    {kOpBitNot, "bitnot", "~"},
    {kOpCast, "cast", "cast"},
    {kOpMul, "mul", ""},
    {kOpDiv, "div", "/"},
    {kOpMod, "mod", "%"},
    {kOpAdd, "add", "+"},
    {kOpSub, "sub", "-"},
    {kOpShl, "shl", "<<"},
    {kOpShr, "shr", ">>"},
    {kOpLess, "lt", "<"},
    {kOpGreater, "gt", ">"},
    {kOpLessEqual, "le", "<="},
    {kOpGreaterEqual, "ge", ">="},
    {kOpEqual, "eq", "=="},
    {kOpNotEqual, "ne", "!="},
    {kOpBitAnd, "and", "&"},
    {kOpBitXor, "xor", "^"},
    {kOpBitOr, "or", "|"},
    {kOpAssign, "assign", "="},
    {kOpMulAssign, "mul_assign", ""},
    {kOpDivAssign, "div_assign", "/="},
    {kOpModAssign, "mod_assign", "%="},
    {kOpAddAssign, "add_assign", "+="},
    {kOpSubAssign, "sub_assign", "-="},
    {kOpShlAssign, "shl_assign", "<<="},
    {kOpShrAssign, "shr_assign", ">>="},
    {kOpAndAssign, "and_assign", "&="},
    {kOpOrAssign, "or_assign", "|="},
    {kOpXorAssign, "xor_assign", "^="},
}};

constexpr std::array<std::string_view, 10> kCastTypes = {
    "", "bool", "char", "uchar", "short", "ushort", "int", "long", "ulong", "float"};

constexpr std::array<std::string_view, 13> kOpcodes = {
    "push",  "pop",  "",         "return",   "jump", "fjump", "tjump",
    "ejump", "goto", "jumpfile", "callfile", "text", "call"};

}  // namespace

std::string_view OperatorName(std::uint8_t sub) {
    for (const OperatorEntry& entry : kOperators) {
        if (entry.sub == sub) {
            return entry.name;
        }
    }
    return {};
}

std::optional<std::uint8_t> OperatorByName(std::string_view name) {
    for (const OperatorEntry& entry : kOperators) {
        if (entry.name == name || (!entry.symbol.empty() && entry.symbol == name)) {
            return entry.sub;
        }
    }
    return std::nullopt;
}

std::string_view CastTypeName(std::uint8_t type) {
    return type < kCastTypes.size() ? kCastTypes[type] : std::string_view();
}

std::optional<std::uint8_t> CastTypeByName(std::string_view name) {
    for (std::size_t i = 1; i < kCastTypes.size(); ++i) {
        if (kCastTypes[i] == name) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}

std::string_view OpcodeName(std::uint8_t opcode) {
    return opcode < kOpcodes.size() ? kOpcodes[opcode] : std::string_view();
}

std::optional<std::uint8_t> OpcodeByName(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kOpcodes.size(); ++i) {
        if (kOpcodes[i] == name) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}
