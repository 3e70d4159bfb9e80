#include "adventure/adventure_state.h"

#include "adventure/adventure_frame.h"
#include "adventure/message_backlog.h"
#include "adventure/message_window.h"

double QuakeTime = 0.0;
double EffectTimer = 0.0;
double TransitionTimeLeft = 0.0;
double TransitionDuration = 0.0;
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
