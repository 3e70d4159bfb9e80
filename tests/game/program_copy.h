#pragma once
// The built program, copied into a test's program directory so that it runs there as a process
// of its own (its data, log and lock files then those of the test).

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_program_dir.h"

namespace qvn::test {

// The path of the copy; empty when the program could not be copied.
inline std::string CopyProgramInto(const TempProgramDir& dir) {
    std::ifstream program(QVN_PROGRAM, std::ios::binary);
    std::stringstream bytes;
    bytes << program.rdbuf();
    dir.writeFile("qvn", bytes.str());
    const std::string copy = dir.path() + "/qvn";
    return program.good() && chmod(copy.c_str(), 0755) == 0 ? copy : std::string();
}

}  // namespace qvn::test
