#pragma once
// The built-in functions of the background music: play a piece (8), stop it (9) and fade it
// (14). Script variable 11 holds the number of the piece now playing, 0 for none.

#include <cstdint>

#include "adventure/script_arguments.h"

// The script variable that holds the music piece now playing.
constexpr std::uint32_t kMusicVariable = 11;

// A music volume of percent x MusicVolume / 100, clamped to 0..10000.
std::uint32_t MusicVolumeForPercent(std::int64_t percent);

// 8 (0 w number, 1 u loop mode (2), 2 l percent (100)): the piece already in variable 11 goes
// on; otherwise variable 11 := number and the music file of that number ("music\bgmNNa.wav",
// in loop mode 2 followed by its loop file "...b.wav") starts at the percent's volume. True.
bool BuiltinMusic(const ScriptArguments& arguments);
// 9: the music stops; variable 11 := 0. True.
bool BuiltinMusicOff(const ScriptArguments& arguments);
// 14 (0 w percent, 1 w tenths): the music fades to the percent's volume over tenths x 100 ms
// (at once while skipping). True.
bool BuiltinFadeMusic(const ScriptArguments& arguments);
