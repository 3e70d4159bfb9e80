#include "adventure/voice.h"

// These stand in until voices exist: no voice is ever held.
void LoadVoiceSettings() {}

bool IsVoicePlaying() {
    return false;
}

void ReleaseVoice() {}

bool BuiltinVoice(const ScriptArguments&) {
    return BuiltinNotBuilt(18);
}
