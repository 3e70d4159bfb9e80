#pragma once
// A private program directory for a fuzz target: made once per process under /tmp, set as the
// program directory, with the log file switched off, and removed when the process exits.

#include <string>

// The directory's Linux path; `tag` names it ("/tmp/qvn-TAG-fuzz-XXXXXX").
const std::string& FuzzProgramDirectory(const char* tag);
