#pragma once
// The face picture at the left end of the message window.

#include "adventure/script_arguments.h"

struct D3DPlane;

// The face plane; null while no face is shown.
extern D3DPlane* FacePlane;

// Shows the picture "face\NAME" (null or a name beginning with "*": no face).
void SetFace(const char* name);
// Releases the face plane; no face is shown afterwards.
void ClearFace();
inline bool IsFaceShown() {
    return FacePlane != nullptr;
}

// Built-in function 5 (0 s face): the face picture "face\NAME" ("*": none). True.
bool BuiltinFace(const ScriptArguments& arguments);
