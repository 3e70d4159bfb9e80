#pragma once
// Where the program lives. The program directory is the executable's folder, or the folder a
// data tool or a test set; in Windows form its Linux bytes are kept with each "/" written as
// "\".

#include <string>

// Makes `linuxDir`, an absolute Linux path of an existing folder, the program directory in
// place of the executable's folder (trailing slashes dropped), so that a data tool reads and
// writes another program's data; empty returns to the executable's folder. False, changing
// nothing, for a relative path or one that is not a folder. The game itself never calls it.
bool SetProgramDirectory(const std::string& linuxDir);

// Internal to the layer:

// The Linux folder, without a trailing slash ("/" stays "/").
std::string ProgramDirectoryLinux();
// The same folder in Windows form, with a trailing backslash.
std::string ProgramDirectoryWindows();
// The executable's file name (the last part of /proc/self/exe).
std::string ExecutableFileName();
