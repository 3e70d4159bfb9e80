#pragma once
// The CD-ROM drives of the machine as libcdio finds them, in its order. They are the drive
// letters "D:", "E:", ... in that order ("C:" is the file system of the program directory).

#include <string>
#include <vector>

// Device paths, each device once however many links name it; at most 23 (letters D to Z).
// Empty on a machine without a drive. Asks the system at every call.
std::vector<std::string> FindCdRomDrives();
