#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvn::test {

// A fresh program directory and $XDG_CONFIG_HOME for one test, removed with the object. The
// Windows layer answers GetModuleFileNameA with a file in this directory.
class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    // The directory as a Linux path, without a trailing slash.
    const std::string& path() const { return path_; }
    // The directory in Windows form, with its trailing backslash.
    std::string windowsPath() const;
    // The settings folder ($XDG_CONFIG_HOME) of this test.
    const std::string& configHome() const { return configHome_; }

    // Writes a file below the directory (relative Linux path, folders created as needed).
    void writeFile(std::string_view relative, std::string_view bytes) const;
    void writeFile(std::string_view relative, const std::vector<std::uint8_t>& bytes) const;
    // Reads a file below the directory; empty when missing.
    std::string readFile(std::string_view relative) const;
    // The lines of a text file below the directory, without their CR LF; empty when missing.
    std::vector<std::string> readLines(std::string_view relative) const;
    bool exists(std::string_view relative) const;

private:
    std::string path_;
    std::string configHome_;
    std::string oldConfigHome_;
    bool hadConfigHome_ = false;
};

}  // namespace qvn::test
