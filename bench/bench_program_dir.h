#pragma once
// A private program directory for a benchmark program: made once per process under /tmp, set
// as the program directory on every call, and removed with everything in it when the process
// exits. A forked child that ends with _exit leaves it to its parent.

#include <string>

// The directory's Linux path; `tag` names it ("/tmp/qvn-TAG-bench-XXXXXX").
const std::string& BenchProgramDirectory(const char* tag);
