#include "script/interpreter.h"

#include <cstring>
#include <optional>

#include "foundation/byte_reader.h"
#include "foundation/log.h"
#include "platform/winbase/code_page.h"
#include "script/game_hooks.h"
#include "script/opcodes.h"
#include "script/operand_stack.h"
#include "script/operators.h"
#include "script/vm_log.h"
#include "script/vm_state.h"

namespace {

// A runaway run or a refused call logged, as the VM reset count at the time: a script stuck in
// either writes one line, not one per frame or per call. Cleared when runs yield or calls succeed
// again; a VM reset starts afresh.
class ReportedOnce {
public:
    bool Due() const { return !reported_ || *reported_ != ScriptVmResetCount; }
    void Mark() { reported_ = ScriptVmResetCount; }
    void Clear() { reported_.reset(); }

private:
    std::optional<std::uint64_t> reported_;
};
ReportedOnce runawayReport;
ReportedOnce callDepthReport;
std::uint64_t maxInstructionsPerRun = kMaxInstructionsPerRun;

// Everything one run needs to report an error at a code position.
struct RunContext {
    CScript* script;
    ScriptFrame* frame;
    const std::uint8_t* code;
    std::size_t size;
    std::uint32_t base;
    const char* name;

    std::uint32_t At(std::size_t position) const {
        return base + static_cast<std::uint32_t>(position);
    }
    // After an error: leaves the frame at `position` (never past the end of the code) and
    // yields.
    bool Stop(std::size_t position) const {
        ScriptErrorPending = true;
        frame->pos = static_cast<std::uint32_t>(position < size ? position : size);
        return false;
    }
    // An instruction whose operands run past the end of the code.
    bool Overrun(std::uint8_t opcode, std::size_t opcodePos) const {
        LogPrintf("%s:%s: RunCode: code(%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError, opcode,
                  At(opcodePos), name);
        return Stop(size);
    }
    // A reader of the code from `position`.
    ByteReader ReaderAt(std::size_t position) const {
        ByteReader reader(code, size);
        reader.Seek(position);
        return reader;
    }
    // The u32 operand at `position`; the caller has checked that it lies inside the code.
    std::uint32_t WordAt(std::size_t position) const { return ReaderAt(position).U32(); }
    // The text at `position`, whose NUL follows it in the code (so `data()` is a C string);
    // false when the NUL is not inside the code.
    bool TextAt(std::size_t position, std::string_view* text) const {
        ByteReader reader = ReaderAt(position);
        *text = reader.TerminatedView(reader.Remaining());
        return reader.Ok();
    }
};

void LogArithmeticFault(const RunContext& run, ArithmeticFault fault, std::uint8_t sub,
                        std::size_t subPos) {
    if (fault == ArithmeticFault::kNone) {
        return;
    }
    LogPrintf("%s:%s: RunCode: ope(2:%d) %s [%08X] \"%s\"", kScriptLogTag, kScriptLogError, sub,
              fault == ArithmeticFault::kDivideByZero ? "division by zero." : "overflow.",
              run.At(subPos), run.name);
}

// A push refused because the operand stack holds kMaxOperandStackSize values: the script pushes
// without end. The frame ends and the values are dropped with it (no frame can use them), so
// that the game's memory stays bounded; when no frame is left the game ends as after any other
// script error.
bool OperandStackFull(const RunContext& run, std::size_t opcodePos) {
    LogPrintf("%s:%s: RunCode: operand stack full. (%u operands) [%08X] \"%s\"", kScriptLogTag,
              kScriptLogError, static_cast<unsigned>(OperandStack.size()), run.At(opcodePos),
              run.name);
    OperandStack.clear();
    ScriptErrorPending = true;
    const std::string name = run.name;
    ReleaseFrame(run.frame);
    return GetScriptGameHooks().PopGameMode(name.c_str(), 0);
}

// The operator instruction; `pos` is at the sub-code. False means the run yields.
bool RunOperator(const RunContext& run, std::size_t opcodePos, std::size_t& pos) {
    if (pos >= run.size) {
        return run.Overrun(kOpOperator, opcodePos);
    }
    const std::uint8_t sub = run.code[pos];
    if (sub == kOpCast) {
        if (pos + 1 >= run.size) {
            return run.Overrun(kOpOperator, opcodePos);
        }
        const std::uint8_t target = run.code[pos + 1];
        if (OperandStack.empty()) {
            LogPrintf("%s:%s: RunCode: ope(1:%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                      kOpOperator, run.At(opcodePos), run.name);
            return run.Stop(pos + 2);
        }
        if (target < kScriptBool || target > kScriptFloat) {
            LogPrintf("%s:%s: RunCode: ope(cast:%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                      target, run.At(pos + 1), run.name);
            return run.Stop(pos + 2);
        }
        ScriptValue& top = OperandStack.nth(1);
        top = CastValue(top, target);
        pos += 2;
        return true;
    }
    if (sub < kOpCast) {
        if (OperandStack.empty()) {
            LogPrintf("%s:%s: RunCode: ope(1:%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                      kOpOperator, run.At(opcodePos), run.name);
            return run.Stop(pos + 1);
        }
        ApplyUnaryOperator(sub, OperandStack.nth(1));
        pos += 1;
        return true;
    }
    if (!IsValidOperator(sub)) {
        LogPrintf("%s:%s: RunCode: ope(Y ?(%d) X) [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                  sub, run.At(pos), run.name);
        return run.Stop(pos + 1);
    }
    if (OperandStack.size() < 2) {
        LogPrintf("%s:%s: RunCode: ope(2:%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError, sub,
                  run.At(pos), run.name);
        return run.Stop(pos + 1);
    }
    ArithmeticFault fault = ArithmeticFault::kNone;
    ScriptValue& left = OperandStack.nth(2);
    const ScriptValue& right = OperandStack.nth(1);
    if (sub <= kLastBinaryOperator) {
        left = BinaryOperator(sub, left, right, &fault);
    } else {
        left = AssignOperator(sub, left, right, &fault);
    }
    OperandStack.pop(1);
    LogArithmeticFault(run, fault, sub, pos);
    pos += 1;
    return true;
}

// Jump, fjump, tjump and ejump; `pos` is at the index. False means the run yields.
bool RunJump(const RunContext& run, std::uint8_t opcode, std::size_t opcodePos, std::size_t& pos) {
    static const char* const kNames[] = {"jump", "fjump", "tjump", "ejump"};
    const char* name = kNames[opcode - kOpJump];
    if (run.size - pos < 4) {
        return run.Overrun(opcode, opcodePos);
    }
    const std::uint32_t index = run.WordAt(pos);
    const auto& table = run.script->jumpTable;
    auto badIndex = [&]() {
        LogPrintf("%s:%s: RunCode: %s(%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError, name,
                  static_cast<int>(index), run.At(pos), run.name);
        return run.Stop(pos + 4);
    };
    const std::uint32_t needed = opcode == kOpEJump ? 2 : (opcode == kOpJump ? 0 : 1);
    if (OperandStack.size() < needed) {
        LogPrintf("%s:%s: RunCode: %s [%08X] \"%s\"", kScriptLogTag, kScriptLogError, name,
                  run.At(opcodePos), run.name);
        return run.Stop(pos + 4);
    }
    bool taken = true;
    if (opcode == kOpFJump || opcode == kOpTJump) {
        const bool zero = OperandStack.nth(1).GetLong() == 0;
        taken = opcode == kOpFJump ? zero : !zero;
    } else if (opcode == kOpEJump) {
        ArithmeticFault fault = ArithmeticFault::kNone;
        const ScriptValue equal =
            BinaryOperator(kOpEqual, OperandStack.nth(2), OperandStack.nth(1), &fault);
        taken = equal.type != kScriptVoid && equal.payload != 0;
    }
    if (!taken) {
        OperandStack.pop(1);
        pos += 4;
        return true;
    }
    if (index >= table.size()) {
        return badIndex();
    }
    if (opcode == kOpFJump || opcode == kOpTJump) {
        OperandStack.nth(1) = ScriptValue::MakeBool(opcode == kOpTJump ? 1 : 0);
    } else if (opcode == kOpEJump) {
        OperandStack.pop(2);
    }
    pos = table[index];
    return true;
}

// With kCounted, at most *budget instructions (counted down); running out sets *exhausted (when
// given) and leaves the frame at its next instruction.
template <bool kCounted>
bool Run(CScript* script, ScriptFrame* frame, float dt, std::uint64_t* budget, bool* exhausted) {
    if (frame->pos == kNoPosition) {
        LogPrintf("%s:%s: RunCode: invalid position. \"%s\"", kScriptLogTag, kScriptLogError,
                  script->fileName.c_str());
        ScriptErrorPending = true;
        ReleaseFrame(frame);
        return false;
    }
    const RunContext run{script,
                         frame,
                         script->code.data(),
                         script->code.size(),
                         script->codeFileOffset,
                         script->fileName.c_str()};
    const ScriptGameHooks& hooks = GetScriptGameHooks();
    std::size_t pos = frame->pos;
    while (pos < run.size) {
        if constexpr (kCounted) {
            if (*budget == 0) {
                if (exhausted != nullptr) {
                    *exhausted = true;
                }
                frame->pos = static_cast<std::uint32_t>(pos);
                return false;
            }
            --*budget;
        }
        const std::size_t opcodePos = pos;
        const std::uint8_t opcode = run.code[pos++];
        switch (opcode) {
            case kOpPush: {
                if (pos >= run.size) {
                    return run.Overrun(opcode, opcodePos);
                }
                const std::uint8_t tag = run.code[pos];
                const bool accepted =
                    tag == 6 || tag == 9 || tag == 10 || tag == 11 || tag == kTagLocal;
                if (!accepted) {
                    LogPrintf("%s:%s: RunCode: push(%d) [%08X] \"%s\"", kScriptLogTag,
                              kScriptLogError, tag, run.At(pos), run.name);
                    return run.Stop(pos + 1 + ScriptValue::OperandDataWidth(tag));
                }
                ScriptValue value;
                const std::span<const std::uint8_t> operand = run.ReaderAt(pos).Rest();
                const std::size_t length =
                    ScriptValue::FromOperand(operand.data(), operand.size(), frame->base, &value);
                if (length == 0) {
                    return run.Overrun(opcode, opcodePos);
                }
                if (OperandStack.full()) {
                    return OperandStackFull(run, opcodePos);
                }
                if (tag == kScriptString) {
                    OperandStack.push(value);
                } else {
                    ScriptValue& slot = OperandStack.pushSlot();
                    slot.type = value.type;
                    slot.payload = value.payload;
                    slot.text.clear();
                    slot.operandClass = value.operandClass;
                }
                pos += length;
                break;
            }
            case kOpPop:
                if (OperandStack.empty()) {
                    LogPrintf("%s:%s: RunCode: pop [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                              run.At(opcodePos + 1), run.name);
                    return run.Stop(pos);
                }
                OperandStack.pop(1);
                break;
            case kOpOperator:
                if (!RunOperator(run, opcodePos, pos)) {
                    return false;
                }
                break;
            case kOpReturn: {
                const std::string name = run.name;
                ReleaseFrame(frame);
                return hooks.PopGameMode(name.c_str(), 1);
            }
            case kOpJump:
            case kOpFJump:
            case kOpTJump:
            case kOpEJump:
                if (!RunJump(run, opcode, opcodePos, pos)) {
                    return false;
                }
                break;
            case kOpGoto: {
                std::string_view text;
                if (!run.TextAt(pos, &text)) {
                    return run.Overrun(opcode, opcodePos);
                }
                const char* label = text.data();
                const std::uint32_t target = script->FindLabel(label);
                if (target == kNoPosition) {
                    LogPrintf("%s:%s: RunCode: goto: label not found. (%s) [%08X] \"%s\"",
                              kScriptLogTag, kScriptLogError, label, run.At(pos), run.name);
                    ScriptErrorPending = true;
                    pos = run.size;
                } else {
                    pos = target;
                }
                break;
            }
            case kOpJumpFile:
            case kOpCallFile: {
                std::string_view file;
                std::string_view label;
                if (!run.TextAt(pos, &file) || !run.TextAt(pos + file.size() + 1, &label)) {
                    return run.Overrun(opcode, opcodePos);
                }
                if (opcode == kOpCallFile && ScriptCallStack.size() >= kMaxScriptCallDepth) {
                    if (callDepthReport.Due()) {
                        LogPrintf("%s:%s: RunCode: call stack full. (%d frames) [%08X] \"%s\"",
                                  kScriptLogTag, kScriptLogError,
                                  static_cast<int>(ScriptCallStack.size()), run.At(opcodePos),
                                  run.name);
                        callDepthReport.Mark();
                    }
                    ScriptErrorPending = true;
                    frame->pos = static_cast<std::uint32_t>(pos + file.size() + label.size() + 2);
                    return true;
                }
                if (opcode == kOpCallFile) {
                    callDepthReport.Clear();
                }
                if (opcode == kOpJumpFile) {
                    hooks.PopGameMode(run.name, 0);
                }
                frame->pos = static_cast<std::uint32_t>(pos + file.size() + label.size() + 2);
                const std::string path = BuildScriptPath(script->fileName, file.data());
                if (Load(path.c_str(), label.data()) && opcode == kOpJumpFile) {
                    ReleaseFrame(frame);
                }
                return true;
            }
            case kOpText: {
                std::string_view text;
                if (!run.TextAt(pos, &text)) {
                    return run.Overrun(opcode, opcodePos);
                }
                frame->pos = static_cast<std::uint32_t>(pos + text.size() + 1);
                ScriptErrorPending = false;
                return hooks.ShowMessage(text.data());
            }
            case kOpCall: {
                if (run.size - pos < 5) {
                    return run.Overrun(opcode, opcodePos);
                }
                const std::uint32_t number = run.WordAt(pos);
                const std::uint32_t count = run.code[pos + 4];
                pos += 5;
                if (count > OperandStack.size()) {
                    LogPrintf("%s:%s: RunCode: arg(%d) stack(%d) [%08X] \"%s\"", kScriptLogTag,
                              kScriptLogError, static_cast<int>(count),
                              static_cast<int>(OperandStack.size()), run.At(pos), run.name);
                    return run.Stop(pos);
                }
                // The call's value takes the place of its arguments; with none it is one more.
                if (count == 0 && OperandStack.full()) {
                    return OperandStackFull(run, opcodePos);
                }
                ScriptArguments.resize(count);
                for (std::uint32_t i = 0; i < count; ++i) {
                    ScriptArguments[i] = &OperandStack.nth(count - i);
                }
                ScriptWaitFlag = 0;
                ScriptErrorPending = false;
                frame->pos = static_cast<std::uint32_t>(pos);
                const std::uint64_t resets = ScriptVmResetCount;
                const bool result = hooks.ScriptFunctionDispatcher(number, ScriptArguments, dt);
                if (resets != ScriptVmResetCount) {
                    return result;
                }
                if (ScriptWaitFlag != 0) {
                    frame->pos = static_cast<std::uint32_t>(opcodePos);
                } else {
                    OperandStack.pop(count);
                    OperandStack.pushSlot() = ScriptValue();
                }
                return result;
            }
            default:
                LogPrintf("%s:%s: RunCode: code(%d) [%08X] \"%s\"", kScriptLogTag, kScriptLogError,
                          opcode, run.At(opcodePos), run.name);
                return run.Stop(pos);
        }
    }
    if (!OperandStack.empty()) {
        LogPrintf("%s:%s: RunCode: invalid finish. stack(%d) [%08X] \"%s\"", kScriptLogTag,
                  kScriptLogError, static_cast<int>(OperandStack.size()), run.At(pos), run.name);
        ScriptErrorPending = true;
        ReleaseFrame(frame);
        return false;
    }
    const std::string name = run.name;
    ReleaseFrame(frame);
    return hooks.PopGameMode(name.c_str(), 0);
}

}  // namespace

bool RunCode(CScript* script, ScriptFrame* frame, float dt) {
    return Run<false>(script, frame, dt, nullptr, nullptr);
}

bool RunCodeBounded(CScript* script, ScriptFrame* frame, float dt, std::uint64_t* budget) {
    return Run<true>(script, frame, dt, budget, nullptr);
}

bool RunScripts(float dt) {
    std::uint64_t budget = maxInstructionsPerRun;
    while (!ScriptCallStack.empty()) {
        ScriptFrame* frame = ScriptCallStack.back().get();
        bool exhausted = false;
        const bool again = Run<true>(frame->script, frame, dt, &budget, &exhausted);
        if (exhausted) {
            if (runawayReport.Due()) {
                LogPrintf(
                    "%s:%s: RunScripts: no yield after %llu instructions; the frame's run "
                    "ends here. [%08X] \"%s\"",
                    kScriptLogTag, kScriptLogError,
                    static_cast<unsigned long long>(maxInstructionsPerRun),
                    frame->script->codeFileOffset + frame->pos, frame->script->fileName.c_str());
                runawayReport.Mark();
            }
            return false;
        }
        if (!again) {
            break;
        }
    }
    runawayReport.Clear();
    return false;
}

std::string BuildScriptPath(const std::string& current, const char* file) {
    if (file[0] == '\0' || file[0] == '*') {
        return current;
    }
    // Split the current path into drive and directory, file name and extension; a trail byte
    // of a double-byte character is never a separator or a dot.
    const char* text = current.c_str();
    std::size_t directoryEnd = 0;
    if (current.size() >= 2 && current[1] == ':') {
        directoryEnd = 2;
    }
    for (const char* p = text + directoryEnd; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            directoryEnd = static_cast<std::size_t>(p - text) + 1;
        }
    }
    std::size_t extension = std::string::npos;
    for (const char* p = text + directoryEnd; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.') {
            extension = static_cast<std::size_t>(p - text);
        }
    }
    std::string path = current.substr(0, directoryEnd);
    path += file;
    if (extension != std::string::npos) {
        path += current.substr(extension);
    }
    return path;
}

namespace script_test {

void SetMaxInstructionsPerRun(std::uint64_t instructions) {
    maxInstructionsPerRun = instructions;
}

}  // namespace script_test
