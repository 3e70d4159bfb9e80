#pragma once
// The mascot: the small animated sprite at the bottom-right corner of the letterbox.

// Deletes the mascot sprite and forgets it.
void ReleaseMascot();
// Makes the mascot invisible (it stays alive).
void HideMascot();
