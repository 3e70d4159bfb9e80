#pragma once
// Standing characters: sprites in front of the background, drawn by the scene in the order
// they were added.

// Deletes every standing character.
void ClearStands();
// Draws every standing character in list order with the current states.
void DrawStands();
