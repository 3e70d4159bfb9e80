#include "support/temp_program_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/winbase/test_hooks.h"

namespace qvn::test {
namespace fs = std::filesystem;

TempProgramDir::TempProgramDir() {
    std::string pattern = (fs::temp_directory_path() / "qvn-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
    configHome_ = path_ + "-config";
    fs::create_directories(configHome_);
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        hadConfigHome_ = true;
        oldConfigHome_ = old;
    }
    setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
    win32_test::SetProgramDirectory(path_);
}

TempProgramDir::~TempProgramDir() {
    win32_test::SetProgramDirectory(std::string());
    if (hadConfigHome_) {
        setenv("XDG_CONFIG_HOME", oldConfigHome_.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    fs::remove_all(path_, ignored);
    fs::remove_all(configHome_, ignored);
}

std::string TempProgramDir::windowsPath() const {
    std::string out = path_;
    for (char& c : out) {
        if (c == '/') {
            c = '\\';
        }
    }
    return out + "\\";
}

void TempProgramDir::writeFile(std::string_view relative, std::string_view bytes) const {
    fs::path file = fs::path(path_) / fs::path(relative);
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void TempProgramDir::writeFile(std::string_view relative,
                               const std::vector<std::uint8_t>& bytes) const {
    writeFile(relative,
              std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TempProgramDir::readFile(std::string_view relative) const {
    std::ifstream in(fs::path(path_) / fs::path(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> TempProgramDir::readLines(std::string_view relative) const {
    std::vector<std::string> lines;
    std::istringstream in(readFile(relative));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

bool TempProgramDir::exists(std::string_view relative) const {
    return fs::exists(fs::path(path_) / fs::path(relative));
}

}  // namespace qvn::test
