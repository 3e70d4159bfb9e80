// The program entry.
#include "shell/program.h"

int main(int argc, char** argv) {
    ProgramOptions options;
    options.display = true;
    if (argc > 0 && argv[0] != nullptr) {
        options.programPath = argv[0];
    }
    return RunProgram(options);
}
