#pragma once
// A fresh VM, program directory and log for each script test, with helpers that assemble
// scripts into the program directory and capture the log lines an action writes.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_program_dir.h"

namespace qvn::test {

using Bytes = std::vector<std::uint8_t>;

// An "SCR " file written field by field, independent of the assembler; `labels` is the raw
// label table.
Bytes ScrFile(const std::vector<std::uint32_t>& globals, const std::vector<std::uint32_t>& locals,
              const Bytes& code, const std::vector<std::uint32_t>& jumps = {},
              const Bytes& labels = {});
// One label record: the name, its NUL and the u32 position.
Bytes Label(const std::string& name, std::uint32_t position);
Bytes Concat(std::initializer_list<Bytes> parts);

// Clears every VM global: frames, operands, variables, initial values and hooks.
void ClearScriptVm();

// The log lines (CR LF removed) written to standard error while `action` runs.
std::vector<std::string> CaptureLog(const std::function<void()>& action);

class ScriptVmTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The kind-5 path of a script name.
    std::string ScriptPath(const std::string& name) const;
    // Assembles `source` (failing the test on an error) into script\NAME.scr; returns the path.
    std::string WriteScript(const std::string& name, const std::string& source);
    std::string WriteScriptBytes(const std::string& name, const std::vector<std::uint8_t>& bytes);

    TempProgramDir dir_;
};

}  // namespace qvn::test
