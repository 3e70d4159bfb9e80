#pragma once
// Voices: at most one spoken line plays at a time, allowed by the voice switches. The voice
// character table names the speaking characters: the voice page of the preferences shows one
// check box per character and writes each character's switch in section "voice".

#include <cstddef>
#include <cstdint>

#include "adventure/script_arguments.h"

// Groups of the voice character table.
constexpr std::uint32_t kVoiceGroupMale = 0;
constexpr std::uint32_t kVoiceGroupFemale = 1;
// Characters of the table: 7 of the male group, then 10 of the female group.
constexpr std::size_t kVoiceCharacterCount = 17;

struct VoiceCharacter {
    std::uint32_t controlId;  // the character's check box on the voice page; 0 ends the table
    std::uint32_t hidden;     // the voice page shows a placeholder until the character is heard
    std::uint32_t group;      // kVoiceGroupMale or kVoiceGroupFemale
    const char* prefix;       // the first two letters of the character's voice files
    const char* valueName;    // the character's value in section "voice"
};

// The 17 characters and the entry that ends the table.
extern const VoiceCharacter VoiceCharacterTable[kVoiceCharacterCount + 1];

struct VoiceCharacterFlag {
    std::int32_t known;  // the character's value exists in the settings store
    std::int32_t on;     // its voices may play
};
extern VoiceCharacterFlag VoiceCharacterFlags[kVoiceCharacterCount];

// The volume page's global switch; 0 silences every voice.
extern std::int32_t VoiceEnabled;

// Reads the voice switches of section "voice".
void LoadVoiceSettings();
// Sets the switch of every character with that check box.
void SetVoiceFlag(std::uint32_t controlId, std::int32_t on);
// True while a voice is held and still playing.
bool IsVoicePlaying();
// Releases the held voice, if any.
void ReleaseVoice();

// Built-in function 18 (0 s voice): the voice of the current speaker plays and the next backlog
// entry takes its name. True.
bool BuiltinVoice(const ScriptArguments& arguments);
