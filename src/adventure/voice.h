#pragma once
// Voices: spoken lines, MP3 files of the voice folder whose names begin with the two-letter
// prefix of the speaking character. At most one plays at a time. Whether one plays depends on
// VoiceEnabled, the VoiceVolume setting, the group switches "male" and "female" and the
// character's own switch, kept in section "voice" of the settings store; a character's switch
// is written the first time one of its voices is asked for.

#include <cstddef>
#include <cstdint>

#include "adventure/script_arguments.h"

class DSSound;

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

// The held voice; null when none.
extern DSSound* VoiceSound;
// The volume page's global switch; 0 silences every voice.
extern std::int32_t VoiceEnabled;

// Reads "male" and "female" (1 when absent) and each character's value: on = its value (1 when
// absent), 0 while its group is switched off; known = whether the value exists.
void LoadVoiceSettings();
// Sets the switch of every character with that check box.
void SetVoiceFlag(std::uint32_t controlId, std::int32_t on);
// The player's own switch of a character (the voice page's box): its flag is set, its value
// stored, and it is known from then on, so that its first voice keeps the player's choice
// instead of storing 1 over it.
void StoreVoiceFlag(std::uint32_t controlId, std::int32_t on);
// The character whose prefix equals the first two letters of `name` (compared upper-cased), or
// null: a name shorter than two letters, or one that opens with a double-byte character,
// matches none.
const VoiceCharacter* FindVoiceCharacter(const char* name);
// Whether the voice `name` may play: not when its character is switched off, VoiceEnabled or
// VoiceVolume is 0, or the name begins with "*". A character not yet known has its value
// written as 1 and becomes known. A name of no character follows the global switches alone.
bool IsVoiceAllowed(const char* name);
// Plays the voice file `name` once at VoiceVolume, replacing the held voice; nothing while
// skipping or when the voice is not allowed (answers 1 then). 0 when the sound cannot be made.
int PlayVoice(const char* name);
// True while a voice is held and still playing.
bool IsVoicePlaying();
// Releases the held voice, if any.
void ReleaseVoice();

// Built-in function 18 (0 s voice): the voice plays and the next backlog entry takes its name.
// True.
bool BuiltinVoice(const ScriptArguments& arguments);
