#include "script/opcodes.h"

#include "foundation/byte_reader.h"

std::uint8_t CompoundAssignmentOperator(std::uint8_t sub) {
    switch (sub) {
        case kOpMulAssign:
            return kOpMul;
        case kOpDivAssign:
            return kOpDiv;
        case kOpModAssign:
            return kOpMod;
        case kOpAddAssign:
            return kOpAdd;
        case kOpSubAssign:
            return kOpSub;
        case kOpShlAssign:
            return kOpShl;
        case kOpShrAssign:
            return kOpShr;
        case kOpAndAssign:
            return kOpBitAnd;
        case kOpOrAssign:
            return kOpBitOr;
        case kOpXorAssign:
            return kOpBitXor;
        default:
            return kOpAssign;
    }
}

DecodedInstruction DecodeInstruction(const std::uint8_t* code, std::size_t size, std::size_t pos) {
    DecodedInstruction result;
    ByteReader reader(code, size);
    reader.Seek(pos);
    result.opcode = reader.U8();
    auto fail = [&](DecodeStatus status, std::uint32_t value, std::size_t at) {
        result.status = status;
        result.errorValue = value;
        result.errorPos = at;
        return result;
    };
    // Every string runs to its NUL inside the code.
    auto skipString = [&reader]() { reader.TerminatedView(reader.Remaining()); };
    switch (result.opcode) {
        case kOpPush: {
            const std::uint8_t tag = reader.U8();
            if (reader.Failed()) {
                break;
            }
            if (tag == 6 || tag == 9 || tag == 11 || tag == 12) {
                result.operand = reader.U32();
            } else if (tag == 10) {
                skipString();
            } else {
                return fail(DecodeStatus::kBadPushTag, tag, pos + 1);
            }
            break;
        }
        case kOpPop:
        case kOpReturn:
            break;
        case kOpOperator: {
            const std::uint8_t sub = reader.U8();
            if (reader.Failed()) {
                break;
            }
            if (sub == kOpCast) {
                const std::uint8_t type = reader.U8();
                if (reader.Ok() && (type < 1 || type > 9)) {
                    return fail(DecodeStatus::kBadCastType, type, pos + 2);
                }
            } else if (!IsValidOperator(sub)) {
                return fail(DecodeStatus::kBadOperator, sub, pos + 1);
            }
            break;
        }
        case kOpJump:
        case kOpFJump:
        case kOpTJump:
        case kOpEJump:
            result.operand = reader.U32();
            break;
        case kOpGoto:
        case kOpText:
            skipString();
            break;
        case kOpJumpFile:
        case kOpCallFile:
            skipString();
            skipString();
            break;
        case kOpCall:
            result.operand = reader.U32();
            reader.Skip(1);  // the argument count
            break;
        default:
            return fail(DecodeStatus::kBadOpcode, result.opcode, pos);
    }
    if (reader.Failed()) {
        result.operand = 0;
        return fail(DecodeStatus::kTruncated, result.opcode, pos);
    }
    result.length = reader.Position() - pos;
    return result;
}
