#include "adventure/mascot.h"

// Stand in until the mascot exists: there is none to release or hide.
void ReleaseMascot() {}
void HideMascot() {}
