#include "script_test_support.h"

#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/operand_stack.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "tools/script/script_assembler.h"

namespace qvn::test {

namespace {

void PutU32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

Bytes ScrFile(const std::vector<std::uint32_t>& globals, const std::vector<std::uint32_t>& locals,
              const Bytes& code, const std::vector<std::uint32_t>& jumps, const Bytes& labels) {
    Bytes out = {'S', 'C', 'R', ' ', 0, 0, 0, 0};
    PutU32(out, static_cast<std::uint32_t>(globals.size() * 4));
    for (std::uint32_t v : globals) {
        PutU32(out, v);
    }
    PutU32(out, static_cast<std::uint32_t>(locals.size() * 4));
    for (std::uint32_t v : locals) {
        PutU32(out, v);
    }
    PutU32(out, static_cast<std::uint32_t>(code.size()));
    out.insert(out.end(), code.begin(), code.end());
    PutU32(out, static_cast<std::uint32_t>(jumps.size() * 4));
    for (std::uint32_t v : jumps) {
        PutU32(out, v);
    }
    PutU32(out, static_cast<std::uint32_t>(labels.size()));
    out.insert(out.end(), labels.begin(), labels.end());
    return out;
}

Bytes Label(const std::string& name, std::uint32_t position) {
    Bytes out(name.begin(), name.end());
    out.push_back(0);
    PutU32(out, position);
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

void ClearScriptVm() {
    InstallScriptGameHooks(DefaultScriptGameHooks());
    ScriptVmReset();
    ScriptVariables.clear();
    GlobalInitialValues.clear();
}

std::vector<std::string> CaptureLog(const std::function<void()>& action) {
    ::testing::internal::CaptureStderr();
    action();
    const std::string text = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

void ScriptVmTest::SetUp() {
    foundation_test::ResetState();
    ClearScriptVm();
}

void ScriptVmTest::TearDown() {
    ClearScriptVm();
}

std::string ScriptVmTest::ScriptPath(const std::string& name) const {
    return GetPath(PathKind::Script, name.c_str());
}

std::string ScriptVmTest::WriteScript(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(AssembleScript(source, name, &bytes, &error)) << error;
    return WriteScriptBytes(name, bytes);
}

std::string ScriptVmTest::WriteScriptBytes(const std::string& name,
                                           const std::vector<std::uint8_t>& bytes) {
    dir_.writeFile("script/" + name + ".scr", bytes);
    return ScriptPath(name);
}

}  // namespace qvn::test
