#pragma once
// The two movie players as the shell and the adventure see them. Until movies play, neither
// player is ever playing and closing has nothing to close.

#include "platform/winbase/win_types.h"

// The private window message of the movie players' graph events.
constexpr UINT MovieNotifyMessage = 0x045B;

int DSMovie_IsPlaying();
int DSMovie9_IsPlaying();
// Either player is playing a movie.
bool MoviePlaying();
void DSMovie_Close();
void DSMovie9_Close();
void DSMovie_OnGraphNotify();
void DSMovie9_OnGraphNotify();
