#include "bench_program_dir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/winbase/test_hooks.h"

namespace {

std::string& MadeDirectory() {
    static std::string directory;
    return directory;
}

void RemoveMadeDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(MadeDirectory(), ignored);
}

}  // namespace

const std::string& BenchProgramDirectory(const char* tag) {
    static const std::string directory = [tag] {
        std::string pattern = std::string("/tmp/qvn-") + tag + "-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        MadeDirectory() = pattern;
        std::atexit(RemoveMadeDirectory);
        return pattern;
    }();
    win32_test::SetProgramDirectory(directory);
    return directory;
}
