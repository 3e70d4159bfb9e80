#pragma once
// Runs a command-line tool of the project for a test, through the shell.

#include <string>

namespace qvn::test {

struct ToolRun {
    int status = -1;  // the exit status; -1 when the tool did not exit normally
    std::string out;  // its standard output
};

// Runs `command` (already quoted for the shell) and collects its standard output.
ToolRun RunCommand(const std::string& command);

// `text` in single quotes for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace qvn::test
