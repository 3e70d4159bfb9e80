// The voice character table and its switches, standing in until voices are built: the
// characters with their check boxes on the voice page (1230..1246, in table order), groups,
// voice-file prefixes and value names.

#include "adventure/voice.h"

const VoiceCharacter VoiceCharacterTable[kVoiceCharacterCount + 1] = {
    {1230, 0, kVoiceGroupMale, "KA", "Kai"},       {1231, 1, kVoiceGroupMale, "EK", "Ekiin"},
    {1232, 1, kVoiceGroupMale, "TO", "Touya"},     {1233, 1, kVoiceGroupMale, "RE", "Ren"},
    {1234, 1, kVoiceGroupMale, "GO", "Gorou"},     {1235, 1, kVoiceGroupMale, "SH", "Shun"},
    {1236, 1, kVoiceGroupMale, "MA", "Masato"},    {1237, 0, kVoiceGroupFemale, "HN", "Hina"},
    {1238, 0, kVoiceGroupFemale, "SO", "Sora"},    {1239, 0, kVoiceGroupFemale, "AN", "Annai"},
    {1240, 1, kVoiceGroupFemale, "MI", "Mio"},     {1241, 1, kVoiceGroupFemale, "YU", "Yuzu"},
    {1242, 1, kVoiceGroupFemale, "RI", "Rika"},    {1243, 1, kVoiceGroupFemale, "NA", "Nagi"},
    {1244, 1, kVoiceGroupFemale, "TS", "Tsubame"}, {1245, 1, kVoiceGroupFemale, "KO", "Koharu"},
    {1246, 1, kVoiceGroupFemale, "SE", "Seri"},    {0, 0, 0, nullptr, nullptr},
};

VoiceCharacterFlag VoiceCharacterFlags[kVoiceCharacterCount] = {};
std::int32_t VoiceEnabled = 1;

void SetVoiceFlag(std::uint32_t controlId, std::int32_t on) {
    for (std::size_t i = 0; VoiceCharacterTable[i].controlId != 0; ++i) {
        if (VoiceCharacterTable[i].controlId == controlId) {
            VoiceCharacterFlags[i].on = on;
        }
    }
}
