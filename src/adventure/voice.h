#pragma once
// Voices: at most one spoken line plays at a time, allowed by the voice switches.

#include "adventure/script_arguments.h"

// Reads the voice switches of section "voice".
void LoadVoiceSettings();
// True while a voice is held and still playing.
bool IsVoicePlaying();
// Releases the held voice, if any.
void ReleaseVoice();

// Built-in function 18 (0 s voice): the voice of the current speaker plays and the next backlog
// entry takes its name. True.
bool BuiltinVoice(const ScriptArguments& arguments);
