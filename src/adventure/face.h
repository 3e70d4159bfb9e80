#pragma once
// The face picture at the left end of the message window.

// Releases the face plane; no face is shown afterwards.
void ClearFace();
