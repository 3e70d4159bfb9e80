#include "adventure/face.h"

D3DPlane* FacePlane = nullptr;

// Stand in until faces exist: no face is ever shown, so there is none to clear.
void SetFace(const char*) {}
void ClearFace() {}

bool BuiltinFace(const ScriptArguments&) {
    return BuiltinNotBuilt(5);
}
