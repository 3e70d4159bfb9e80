#pragma once
// The built-in functions of sound effects: play on a channel (10), stop a channel (11) and fade
// a channel (12); and the looping sounds that scripts started, which the adventure owns until
// a stop, a replacement on their channel or the adventure's reset deletes them.

#include <cstdint>
#include <vector>

#include "adventure/script_arguments.h"

class DSSound;

// Channel of a sound effect whose script names none.
constexpr const char* kDefaultSoundChannel = "sound";

// Looping sound effects started by scripts, each holding the one reference the adventure owns.
extern std::vector<DSSound*> LoopingSoundList;

// Deletes every looping sound effect that scripts started (each only while the sound device
// still lists it) and empties LoopingSoundList. Step 9 of ResetAdventureState.
void DeleteScriptSounds();

// A sound attenuation in hundredths of a decibel, clamped to the device's -10000..0.
std::int32_t ClampAttenuation(std::int64_t attenuation);
// The attenuation of function 10: (percent - 100) x 50, percent 0 silent; without a percent
// SoundVolume - 10000 (full volume at the setting's maximum).
std::int32_t SoundEffectAttenuation(bool hasPercent, std::int32_t percent);

// The sound effect `name` of the sound folder played once at SoundVolume - 10000, deleting
// itself when it ends (the confirmation sounds of choices and loaded games).
void PlaySystemSound(const char* name);

// 10 (0 s file, 1 s channel ("sound"), 2 u loop (1 when argc is 2, else 0), 3 l percent):
// nothing while SoundVolume is 0; a channel argument first releases the channel's live sound;
// loop 1 plays looping and keeps the sound in LoopingSoundList, any other plays it once. True.
bool BuiltinSound(const ScriptArguments& arguments);
// 11 (0 s channel ("sound")): the channel's live sound deleted and forgotten as looping. True.
bool BuiltinStopSound(const ScriptArguments& arguments);
// 12 (0 s channel, 1 w percent, 2 w tenths): the channel's live sound fades to
// percent x SoundVolume / 100 - 10000 over tenths x 100 ms. True.
bool BuiltinFadeSound(const ScriptArguments& arguments);
