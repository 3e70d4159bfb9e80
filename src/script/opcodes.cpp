#include "script/opcodes.h"

#include <cstring>

namespace {

// Length of a zero-terminated string at `pos` including its NUL, or 0 when unterminated.
std::size_t StringLength(const std::uint8_t* code, std::size_t size, std::size_t pos) {
    if (pos >= size) {
        return 0;
    }
    const void* end = std::memchr(code + pos, 0, size - pos);
    if (end == nullptr) {
        return 0;
    }
    return static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (code + pos)) + 1;
}

}  // namespace

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
    result.opcode = code[pos];
    const std::size_t left = size - pos;
    auto fail = [&](DecodeStatus status, std::uint32_t value, std::size_t at) {
        result.status = status;
        result.errorValue = value;
        result.errorPos = at;
        return result;
    };
    auto truncated = [&]() { return fail(DecodeStatus::kTruncated, result.opcode, pos); };
    switch (result.opcode) {
        case kOpPush: {
            if (left < 2) {
                return truncated();
            }
            const std::uint8_t tag = code[pos + 1];
            if (tag == 6 || tag == 9 || tag == 11 || tag == 12) {
                result.length = 6;
            } else if (tag == 10) {
                const std::size_t text = StringLength(code, size, pos + 2);
                if (text == 0) {
                    return truncated();
                }
                result.length = 2 + text;
            } else {
                return fail(DecodeStatus::kBadPushTag, tag, pos + 1);
            }
            break;
        }
        case kOpPop:
        case kOpReturn:
            result.length = 1;
            break;
        case kOpOperator: {
            if (left < 2) {
                return truncated();
            }
            const std::uint8_t sub = code[pos + 1];
            if (sub == kOpCast) {
                if (left < 3) {
                    return truncated();
                }
                const std::uint8_t type = code[pos + 2];
                if (type < 1 || type > 9) {
                    return fail(DecodeStatus::kBadCastType, type, pos + 2);
                }
                result.length = 3;
            } else if (IsValidOperator(sub)) {
                result.length = 2;
            } else {
                return fail(DecodeStatus::kBadOperator, sub, pos + 1);
            }
            break;
        }
        case kOpJump:
        case kOpFJump:
        case kOpTJump:
        case kOpEJump:
            result.length = 5;
            break;
        case kOpGoto:
        case kOpText: {
            const std::size_t text = StringLength(code, size, pos + 1);
            if (text == 0) {
                return truncated();
            }
            result.length = 1 + text;
            break;
        }
        case kOpJumpFile:
        case kOpCallFile: {
            const std::size_t file = StringLength(code, size, pos + 1);
            if (file == 0) {
                return truncated();
            }
            const std::size_t label = StringLength(code, size, pos + 1 + file);
            if (label == 0) {
                return truncated();
            }
            result.length = 1 + file + label;
            break;
        }
        case kOpCall:
            result.length = 6;
            break;
        default:
            return fail(DecodeStatus::kBadOpcode, result.opcode, pos);
    }
    if (result.length > left) {
        return truncated();
    }
    return result;
}
