#pragma once
// Shared set-up of the foundation tests: a fresh program directory, the foundation caches reset,
// and helpers to read the log and make Windows-form names.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/temp_program_dir.h"

namespace foundation_testing {

class FoundationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program directory in Windows form followed by `relative`.
    std::string WinPath(const std::string& relative) const;
    // The log file's lines, without their CR LF.
    std::vector<std::string> LogLines() const;
    std::string LogText() const { return dir_->readFile("qvn.log"); }

    std::unique_ptr<qvn::test::TempProgramDir> dir_;
};

// The bytes of a LoadFile result as a string (empty for null), the buffer freed. `size` is read
// by reference, so `TakeBuffer(LoadFile(name, &size, 0), size)` sees the size that LoadFile
// stored whatever order the compiler evaluates the arguments in.
std::string TakeBuffer(unsigned char* data, const unsigned& size);

}  // namespace foundation_testing
