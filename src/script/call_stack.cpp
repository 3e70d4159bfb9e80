#include "script/call_stack.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "foundation/log.h"
#include "foundation/text.h"
#include "script/game_hooks.h"
#include "script/script_variables.h"
#include "script/vm_log.h"

std::vector<std::unique_ptr<ScriptFrame>> ScriptCallStack;
bool ScriptErrorPending = false;

namespace {

void ReleaseScript(CScript* script) {
    if (script != nullptr && --script->refCount == 0) {
        delete script;
    }
}

// Takes a reference to `script` for a frame at `position` and puts it on the stack.
bool StackFrame(std::unique_ptr<ScriptFrame>& frame, CScript* script, std::uint32_t position,
                const char* path) {
    const std::size_t locals = script->localInit.size();
    if (locals >
        kMaxScriptVariables - std::min<std::size_t>(ScriptVariables.size(), kMaxScriptVariables)) {
        LogPrintf("%s:%s: LoadCode: out of memory. \"%s\"", kScriptLogTag, kScriptLogError, path);
        return false;
    }
    ++script->refCount;
    frame->script = script;
    frame->pos = position;
    frame->base = static_cast<std::uint32_t>(ScriptVariables.size());
    PushLocals(script);
    ScriptCallStack.push_back(std::move(frame));
    return true;
}

}  // namespace

const char* ScriptFrame::GetScriptName() const {
    return script != nullptr ? script->fileName.c_str() : nullptr;
}

const char* ScriptFrame::GetLabelName() const {
    return script != nullptr ? script->LabelAtPosition(pos) : nullptr;
}

std::int32_t ScriptFrame::GetCallSiteIndex(std::uint32_t number) const {
    return script != nullptr ? script->CallSiteIndex(number, pos) : -1;
}

bool LoadCode(std::unique_ptr<ScriptFrame>& frame, const char* path, const char* label) {
    for (const auto& running : ScriptCallStack) {
        if (CompareNoCase(running->script->fileName.c_str(), path) == 0) {
            const std::uint32_t position = running->script->FindEntry(label);
            if (position == kNoPosition) {
                return false;
            }
            return StackFrame(frame, running->script, position, path);
        }
    }
    std::unique_ptr<CScript> script(new (std::nothrow) CScript);
    if (!script) {
        LogPrintf("%s:%s: LoadCode: out of memory. \"%s\"", kScriptLogTag, kScriptLogError, path);
        return false;
    }
    const std::uint32_t position = JumpFile(script.get(), path, label);
    if (position == kNoPosition) {
        return false;
    }
    // The frame takes the one reference the script was made with.
    script->refCount = 0;
    CScript* shared = script.release();
    if (!StackFrame(frame, shared, position, path)) {
        delete shared;
        return false;
    }
    return true;
}

bool Load(const char* path, const char* label) {
    std::unique_ptr<ScriptFrame> frame(new (std::nothrow) ScriptFrame);
    if (!frame) {
        LogPrintf("%s:%s: Load: out of memory. \"%s\"", kScriptLogTag, kScriptLogError, path);
        ScriptErrorPending = true;
        return false;
    }
    if (!LoadCode(frame, path, label)) {
        ScriptErrorPending = true;
        return false;
    }
    ScriptErrorPending = false;
    GetScriptGameHooks().PushGameMode(path, label);
    return true;
}

bool LoadGlobal(const char* path) {
    std::unique_ptr<ScriptFrame> frame(new (std::nothrow) ScriptFrame);
    if (!frame) {
        LogPrintf("%s:%s: LoadGlobal: out of memory. \"%s\"", kScriptLogTag, kScriptLogError, path);
        return false;
    }
    if (!LoadCode(frame, path, nullptr)) {
        return false;
    }
    ReleaseFrame(ScriptCallStack.back().get());
    GlobalInitialValues = ScriptVariables;
    return true;
}

std::uint32_t PushLocals(const CScript* script) {
    ScriptVariables.insert(ScriptVariables.end(), script->localInit.begin(),
                           script->localInit.end());
    return static_cast<std::uint32_t>(script->localInit.size());
}

std::uint32_t SubLocal(const ScriptFrame& frame) {
    const auto count = static_cast<std::uint32_t>(frame.script->localInit.size());
    std::uint32_t removed = 0;
    if (frame.base < ScriptVariables.size()) {
        removed = static_cast<std::uint32_t>(
            std::min<std::size_t>(count, ScriptVariables.size() - frame.base));
    }
    if (removed != count) {
        LogPrintf("%s:%s: SubLocal: (%d != %d) \"%s\"", kScriptLogTag, kScriptLogError,
                  static_cast<int>(removed), static_cast<int>(count),
                  frame.script->fileName.c_str());
    }
    if (removed == 0) {
        return 0;
    }
    const auto first = ScriptVariables.begin() + frame.base;
    ScriptVariables.erase(first, first + removed);
    // Bases never fall from the oldest frame to the newest: the frames stacked on these locals
    // are the newest ones whose base lies above them.
    for (auto other = ScriptCallStack.rbegin(); other != ScriptCallStack.rend(); ++other) {
        if ((*other).get() == &frame) {
            continue;
        }
        if ((*other)->base == kNoPosition || (*other)->base <= frame.base) {
            break;
        }
        (*other)->base =
            (*other)->base >= frame.base + removed ? (*other)->base - removed : frame.base;
    }
    return removed;
}

void ReleaseFrame(ScriptFrame* frame) {
    // The running frame is the usual one: look from the top.
    const auto found = std::find_if(ScriptCallStack.rbegin(), ScriptCallStack.rend(),
                                    [frame](const auto& entry) { return entry.get() == frame; });
    if (found == ScriptCallStack.rend()) {
        return;
    }
    std::unique_ptr<ScriptFrame> owned = std::move(*found);
    ScriptCallStack.erase(std::next(found).base());
    if (owned->script != nullptr) {
        SubLocal(*owned);
        ReleaseScript(owned->script);
    }
}

bool IsScriptStackEmpty() {
    return ScriptCallStack.empty();
}

ScriptFrame* CurrentFrame() {
    return ScriptCallStack.empty() ? nullptr : ScriptCallStack.back().get();
}

const char* CurrentScriptName() {
    const ScriptFrame* frame = CurrentFrame();
    return frame != nullptr ? frame->GetScriptName() : nullptr;
}

std::int32_t CurrentCallSiteIndex(std::uint32_t number) {
    const ScriptFrame* frame = CurrentFrame();
    return frame != nullptr ? frame->GetCallSiteIndex(number) : -1;
}

std::uint32_t JumpToLabel(const char* name) {
    ScriptFrame* frame = CurrentFrame();
    if (frame == nullptr) {
        return kNoPosition;
    }
    const std::uint32_t position = frame->script->FindLabel(name);
    if (position != kNoPosition) {
        frame->pos = position;
    }
    return position;
}
