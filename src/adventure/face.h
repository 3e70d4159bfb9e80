#pragma once
// The face picture at the left end of the message window: "face\NAME" of the image folder,
// at 0.7 of the letterbox scale with its lower left corner on the letterbox's lower left
// corner, sliding out to the left and fading as the window closes, back in as it opens.

#include "adventure/script_arguments.h"

struct D3DPlane;

// The face plane; null while no face is shown. Its name is its picture's file name, which the
// backlog records.
extern D3DPlane* FacePlane;

// Releases the face plane; with a name that is not null and does not begin with "*", shows the
// picture "face\NAME" (the face stays absent when it does not load).
void SetFace(const char* name);
// Releases the face plane; no face is shown afterwards.
void ClearFace();
inline bool IsFaceShown() {
    return FacePlane != nullptr;
}
// The face plane's update callback: with k = WindowFadeTime x 5 while the window is shown, else
// 1 - WindowFadeTime x 5, the face stands picture width x k x LetterboxScale left of the
// letterbox's edge with alpha 255 - trunc(255 x k). Answers 1.
int FaceUpdate(D3DPlane* plane, double elapsed, void* userData);

// Built-in function 5 (0 s face): the face picture "face\NAME" ("*": none). True.
bool BuiltinFace(const ScriptArguments& arguments);
