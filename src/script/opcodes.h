#pragma once
// Instruction set of the "SCR " code: opcodes, operator sub-codes and the strict decoder that the
// loader, the assembler and the dumper share.

#include <cstddef>
#include <cstdint>

enum ScriptOpcode : std::uint8_t {
    kOpPush = 0,
    kOpPop = 1,
    kOpOperator = 2,
    kOpReturn = 3,
    kOpJump = 4,
    kOpFJump = 5,
    kOpTJump = 6,
    kOpEJump = 7,
    kOpGoto = 8,
    kOpJumpFile = 9,
    kOpCallFile = 10,
    kOpText = 11,
    kOpCall = 12,
};
constexpr std::uint8_t kLastOpcode = kOpCall;

enum ScriptOperator : std::uint8_t {
    kOpPostInc = 0,
    kOpPostDec = 1,
    kOpPreInc = 2,
    kOpPreDec = 3,
    kOpPlus = 4,
    kOpMinus = 5,
    kOpNot = 6,
    kOpBitNot = 7,
    kOpCast = 8,
    kOpMul = 9,
    kOpDiv = 10,
    kOpMod = 11,
    kOpAdd = 12,
    kOpSub = 13,
    kOpShl = 14,
    kOpShr = 15,
    kOpLess = 16,
    kOpGreater = 17,
    kOpLessEqual = 18,
    kOpGreaterEqual = 19,
    kOpEqual = 20,
    kOpNotEqual = 21,
    kOpBitAnd = 22,
    kOpBitXor = 23,
    kOpBitOr = 24,
    kOpAssign = 28,
    kOpMulAssign = 29,
    kOpDivAssign = 30,
    kOpModAssign = 31,
    kOpAddAssign = 32,
    kOpSubAssign = 33,
    kOpShlAssign = 34,
    kOpShrAssign = 35,
    kOpAndAssign = 36,
    kOpOrAssign = 37,
    kOpXorAssign = 38,
};
constexpr std::uint8_t kLastUnaryOperator = kOpCast;
constexpr std::uint8_t kLastBinaryOperator = kOpBitOr;
constexpr std::uint8_t kLastOperator = kOpXorAssign;

// Whether the code may hold this operator sub-code (25..27 and above 38 are refused).
constexpr bool IsValidOperator(std::uint8_t sub) {
    return sub <= kLastBinaryOperator || (sub >= kOpAssign && sub <= kLastOperator);
}

// The two-operand operator that a compound assignment applies (29..38), or kOpAssign for 28.
std::uint8_t CompoundAssignmentOperator(std::uint8_t sub);

enum class DecodeStatus {
    kOk,
    kBadOpcode,    // errorValue: the opcode; errorPos: its position
    kBadPushTag,   // errorValue: the tag; errorPos: its position
    kBadCastType,  // errorValue: the type byte; errorPos: its position
    kBadOperator,  // errorValue: the sub-code; errorPos: its position
    kTruncated,    // the instruction does not end inside the code; errorPos: the opcode
};

struct DecodedInstruction {
    DecodeStatus status = DecodeStatus::kOk;
    std::uint8_t opcode = 0;
    std::size_t length = 0;  // whole instruction, opcode included (valid when kOk)
    // The 4-byte operand of a push of a number or reference, a jump (the table index) or a
    // call (the function number); 0 for the others (valid when kOk).
    std::uint32_t operand = 0;
    std::uint32_t errorValue = 0;
    std::size_t errorPos = 0;
};

// Decodes the instruction at `pos` (< size) with the loader's rules: push tags 6, 9, 10, 11 and
// 12 only, cast types 1..9, operators by IsValidOperator, every string terminated inside the code.
DecodedInstruction DecodeInstruction(const std::uint8_t* code, std::size_t size, std::size_t pos);
