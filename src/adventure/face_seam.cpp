#include "adventure/face.h"

// Stands in until faces exist: there is none to clear.
void ClearFace() {}
