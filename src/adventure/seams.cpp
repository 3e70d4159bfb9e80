#include "adventure/seams.h"

bool RestoreSystemVariables() {
    return false;
}
