#include "adventure/adventure_state.h"

int PageWait = 0;
int MessageWindowShown = 0;
float WindowFadeTime = 0.0f;
std::uint32_t PendingDelayMs = 0;
int SkipActive = 0;
int FastForwardMode = 0;
int AutoMode = 0;
int SkipDisabled = 0;
int BacklogReplay = 0;
std::int32_t LineCounter = -1;
double QuakeTime = 0.0;
double EffectTimer = 0.0;
double TransitionTimeLeft = 0.0;
double TransitionDuration = 0.0;
std::int32_t BlockingCount = 0;
char SpeakerName[kSpeakerNameLength] = {};
std::uint32_t BlendMode = 1;
int CaptureMode = 0;

void ResetAdventureFlags() {
    QuakeTime = 0.0;
    FastForwardMode = 0;
    EffectTimer = 0.0;
    SkipDisabled = 0;
    PageWait = 0;
    TransitionDuration = 0.0;
    BacklogReplay = 0;
    PendingDelayMs = 0;
    TransitionTimeLeft = 0.0;
    LineCounter = -1;
    BlockingCount = 0;
    SpeakerName[0] = '\0';
    BlendMode = 1;
    CaptureMode = 0;
}
