#pragma once
// The CD-ROM drives of the machine as libcdio finds them, in its order: the drive letters "D:",
// "E:", ... (drive_letters.h).

#include <string>
#include <vector>

// Device paths, each device once however many links name it; at most 23 (letters D to Z).
// Empty on a machine without a drive. The machine's drives are found once per process; a test's
// fake machine answers instead when one is set (system_test.h).
std::vector<std::string> FindCdRomDrives();
