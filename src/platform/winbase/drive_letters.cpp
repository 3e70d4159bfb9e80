#include "platform/winbase/drive_letters.h"

#include <cctype>

char DriveLetterOfRoot(LPCSTR root) {
    if (root == nullptr) {
        return kProgramDriveLetter;
    }
    if (std::isalpha(static_cast<unsigned char>(root[0])) == 0 || root[1] != ':') {
        return 0;
    }
    if (root[2] != '\0' && !(root[2] == '\\' && root[3] == '\0')) {
        return 0;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
}
