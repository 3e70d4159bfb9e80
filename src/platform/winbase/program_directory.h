#pragma once
// Internal: where the program lives. The program directory is the executable's folder (or the
// folder a test set); in Windows form its Linux bytes are kept with each "/" written as "\".

#include <string>

// The Linux folder, without a trailing slash ("/" stays "/").
std::string ProgramDirectoryLinux();
// The same folder in Windows form, with a trailing backslash.
std::string ProgramDirectoryWindows();
// The executable's file name (the last part of /proc/self/exe).
std::string ExecutableFileName();
