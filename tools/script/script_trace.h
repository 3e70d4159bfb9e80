#pragma once
// Recording game hooks for running scripts outside the game: every hook call becomes one line
//   message TEXT | call NUMBER ARG... | push-mode PATH LABEL | pop-mode NAME RETURNING |
//   label NAME POSITION
// with texts in UTF-8 (\\ \n \r \t escaped, bytes that do not convert as \xHH), arguments as
// i:N, f:X ("%.9g"), s:TEXT, v:INDEX or void, and a missing label as "-". The game-mode stack
// is modelled as the game keeps it, so that a return goes on in the same frame while the
// restored mode is the adventure.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "script/script_value.h"

class ScriptTracer {
public:
    // Built-in calls whose number is in `waitCalls` wait for one frame the first time each call
    // is made; every other call lets the script go on.
    explicit ScriptTracer(std::set<std::uint32_t> waitCalls = {});
    ~ScriptTracer();
    ScriptTracer(const ScriptTracer&) = delete;
    ScriptTracer& operator=(const ScriptTracer&) = delete;

    // Puts this tracer's hooks in place (the destructor puts the defaults back).
    void Install();

    const std::string& output() const { return output_; }
    void ClearOutput() { output_.clear(); }

    enum RunStatus { kFinished = 0, kFrameBound = 2 };
    // Runs frame after frame until the call stack empties, or until `frameBound` frames have
    // run or one frame has carried out `instructionsPerFrame` instructions without yielding.
    RunStatus RunToEnd(std::uint32_t frameBound, std::uint64_t instructionsPerFrame);
    // Runs one frame; false when the instruction budget ran out.
    bool RunFrame(std::uint64_t instructionsPerFrame);

    // Appends "var INDEX VALUE" for every global variable (those below the oldest frame's
    // locals).
    void AppendGlobals();

    // The hook bodies.
    bool OnMessage(const char* text);
    bool OnCall(std::uint32_t number, const std::vector<ScriptValue*>& arguments);
    bool OnPushMode(const char* path, const char* label);
    bool OnPopMode(const char* name, int returning);
    bool OnLabel(const char* name, std::uint32_t position);

private:
    std::set<std::uint32_t> waitCalls_;
    bool repeating_ = false;
    std::string output_;
    std::int32_t gameMode_ = 4;
    std::vector<std::int32_t> modeStack_;
};

// The number of global variables: those below the oldest frame's locals (every variable while
// no script runs).
std::size_t GlobalVariableCount();
// The value of variable `index` as the tools print it: the word read signed, in decimal.
std::string VariableValueText(std::size_t index);

// Parses a comma-separated list of call numbers ("28,3"); malformed entries are skipped.
std::set<std::uint32_t> ParseWaitCalls(const char* list);

// A trace line's text: UTF-8 with \\ \n \r \t and \xHH escapes.
std::string TraceText(const char* sjis);
