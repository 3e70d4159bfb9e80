#pragma once
// Voices: at most one spoken line plays at a time, allowed by the voice switches.

// Reads the voice switches of section "voice".
void LoadVoiceSettings();
// True while a voice is held and still playing.
bool IsVoicePlaying();
// Releases the held voice, if any.
void ReleaseVoice();
