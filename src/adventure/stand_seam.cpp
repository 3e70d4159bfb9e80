#include "adventure/stand.h"

// Stand in until standing characters exist: there are none to clear or draw.
void ClearStands() {}
void DrawStands() {}
