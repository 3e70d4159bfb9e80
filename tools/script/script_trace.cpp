#include "tools/script/script_trace.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/interpreter.h"
#include "script/script_variables.h"
#include "tools/script/sjis_escape.h"

namespace {

ScriptTracer* ActiveTracer = nullptr;

constexpr float kFrameSeconds = 1.0f / 60.0f;
constexpr std::int32_t kAdventureMode = 1;

bool TraceShowMessage(const char* text) {
    return ActiveTracer->OnMessage(text);
}
bool TraceDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments, float) {
    return ActiveTracer->OnCall(number, arguments);
}
bool TracePushGameMode(const char* path, const char* label) {
    return ActiveTracer->OnPushMode(path, label);
}
bool TracePopGameMode(const char* name, int returning) {
    return ActiveTracer->OnPopMode(name, returning);
}
bool TraceOnLabelFound(const char* name, std::uint32_t position) {
    return ActiveTracer->OnLabel(name, position);
}

std::string ArgumentText(const ScriptValue& value) {
    char buffer[64];
    switch (value.type) {
        case kScriptVoid:
            return "void";
        case kScriptFloat:
            std::snprintf(buffer, sizeof buffer, "f:%.9g",
                          static_cast<double>(BitsToFloat(value.payload)));
            return buffer;
        case kScriptString:
            return "s:" + TraceText(value.text.c_str());
        case kScriptVarRef:
            std::snprintf(buffer, sizeof buffer, "v:%" PRIu32, value.payload);
            return buffer;
        default:
            std::snprintf(buffer, sizeof buffer, "i:%" PRId32,
                          static_cast<std::int32_t>(value.payload));
            return buffer;
    }
}

}  // namespace

std::string TraceText(const char* sjis) {
    return EscapeSjis(sjis != nullptr ? std::string_view(sjis) : std::string_view(),
                      EscapeStyle::kTrace);
}

std::set<std::uint32_t> ParseWaitCalls(const char* list) {
    std::set<std::uint32_t> numbers;
    if (list == nullptr) {
        return numbers;
    }
    std::string_view rest(list);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string item(rest.substr(0, comma));
        char* end = nullptr;
        const unsigned long number = std::strtoul(item.c_str(), &end, 10);
        if (!item.empty() && *end == '\0' && number <= 0xFFFFFFFFul) {
            numbers.insert(static_cast<std::uint32_t>(number));
        }
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return numbers;
}

ScriptTracer::ScriptTracer(std::set<std::uint32_t> waitCalls) : waitCalls_(std::move(waitCalls)) {}

ScriptTracer::~ScriptTracer() {
    if (ActiveTracer == this) {
        InstallScriptGameHooks(DefaultScriptGameHooks());
        ActiveTracer = nullptr;
    }
}

void ScriptTracer::Install() {
    ActiveTracer = this;
    InstallScriptGameHooks(ScriptGameHooks{TraceShowMessage, TraceDispatcher, TracePushGameMode,
                                           TracePopGameMode, TraceOnLabelFound});
}

bool ScriptTracer::OnMessage(const char* text) {
    output_ += "message " + TraceText(text) + "\n";
    return true;
}

bool ScriptTracer::OnCall(std::uint32_t number, const std::vector<ScriptValue*>& list) {
    output_ += "call " + std::to_string(number);
    for (const ScriptValue* value : list) {
        output_ += " " + ArgumentText(*value);
    }
    output_ += "\n";
    if (waitCalls_.count(number) != 0 && !repeating_) {
        repeating_ = true;
        ScriptWaitFlag = 1;
        return false;
    }
    repeating_ = false;
    return true;
}

bool ScriptTracer::OnPushMode(const char* path, const char* label) {
    output_ +=
        "push-mode " + TraceText(path) + " " + (label != nullptr ? TraceText(label) : "-") + "\n";
    modeStack_.push_back(gameMode_);
    gameMode_ = kAdventureMode;
    return true;
}

bool ScriptTracer::OnPopMode(const char* name, int returning) {
    output_ += "pop-mode " + TraceText(name) + " " + std::to_string(returning) + "\n";
    if (!modeStack_.empty()) {
        gameMode_ = modeStack_.back();
        modeStack_.pop_back();
    }
    return returning != 0 && gameMode_ == kAdventureMode;
}

bool ScriptTracer::OnLabel(const char* name, std::uint32_t position) {
    output_ += "label " + TraceText(name) + " " + std::to_string(position) + "\n";
    return true;
}

bool ScriptTracer::RunFrame(std::uint64_t instructionsPerFrame) {
    std::uint64_t budget = instructionsPerFrame;
    while (!ScriptCallStack.empty()) {
        ScriptFrame* frame = ScriptCallStack.back().get();
        if (!RunCodeBounded(frame->script, frame, kFrameSeconds, &budget)) {
            break;
        }
    }
    return budget != 0;
}

ScriptTracer::RunStatus ScriptTracer::RunToEnd(std::uint32_t frameBound,
                                               std::uint64_t instructionsPerFrame) {
    for (std::uint32_t frame = 0; frame < frameBound; ++frame) {
        if (ScriptCallStack.empty()) {
            return kFinished;
        }
        if (!RunFrame(instructionsPerFrame)) {
            return kFrameBound;
        }
    }
    return ScriptCallStack.empty() ? kFinished : kFrameBound;
}

void ScriptTracer::AppendGlobals() {
    const std::size_t globals = GlobalVariableCount();
    for (std::size_t i = 0; i < globals; ++i) {
        output_ += "var " + std::to_string(i) + " " + VariableValueText(i) + "\n";
    }
}

std::size_t GlobalVariableCount() {
    std::size_t globals = ScriptVariables.size();
    for (const auto& frame : ScriptCallStack) {
        globals = std::min<std::size_t>(globals, frame->base);
    }
    return globals;
}

std::string VariableValueText(std::size_t index) {
    const std::uint32_t word = index < ScriptVariables.size() ? ScriptVariables[index] : 0;
    return std::to_string(static_cast<std::int32_t>(word));
}
