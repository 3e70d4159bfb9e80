#include "adventure/face.h"

D3DPlane* FacePlane = nullptr;

// Stands in until faces exist: no face is ever shown.
void SetFace(const char*) {}
