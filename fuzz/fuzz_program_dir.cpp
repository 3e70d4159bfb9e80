#include "fuzz_program_dir.h"

#include "foundation/log.h"
#include "platform/winbase/test_hooks.h"

const std::string& FuzzProgramDirectory(const char* tag) {
    static const std::string& directory = [tag]() -> const std::string& {
        const std::string& made =
            win32_test::UsePrivateProgramDirectory(std::string(tag) + "-fuzz");
        // Built-in calls turn the log on again; its file stays off.
        SetLogEnabled(0);
        SetLogFileEnabled(0);
        return made;
    }();
    return directory;
}
